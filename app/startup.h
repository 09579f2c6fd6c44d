// Process start-up in its fixed order, the session call and shutdown.
#pragma once

#include "platform/display_config.h"

struct CommandLine;

// The whole program: start-up, intro scenes, the session, shutdown.
// Returns the process exit code: 0, or 128 + N when signal N (SIGTERM, SIGINT,
// SIGHUP) ended the run; fatal errors and "-h" end the process inside.
int GameMain(int argc, char** argv);

// Start-up of the platform: SDL video, the display, colours and dim overlay,
// joystick, audio, caption, hidden cursor, archives.
void StartPlatform(const DisplayConfig& display);

// The display of the run: the command line's when it has arguments, else the
// screen settings of the configuration file (read into Settings here).
DisplayConfig ChooseDisplay(const CommandLine& commandLine);

// Start-up of the front end: fonts and logo, the built-in key bindings and
// then the configuration file's settings, volumes.
void LoadFrontEnd();

// Everything after the front end: the intro scenes (only the credits in test
// mode), the playfield background, the hiscore table, and then the session
// unless a quit was asked for during the scenes (or a tool stopped the run).
void PlayFromIntro(bool testMode);

// The shutdown order; tolerates resources that were never created.
void ShutDown();
