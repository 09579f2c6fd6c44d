// Process start-up in its fixed order, the session call and shutdown.
#pragma once

#include "platform/display_config.h"

// The whole program: start-up, intro scenes, the session, shutdown.
// Returns the process exit code (0); fatal errors and "-h" end the process inside.
int GameMain(int argc, char** argv);

// Start-up of the platform: SDL video, the display, colours and dim overlay,
// joystick, audio, caption, hidden cursor, archives.
void StartPlatform(const DisplayConfig& display);

// Start-up of the front end: fonts and logo, key bindings, volumes.
void LoadFrontEnd();

// The shutdown order; tolerates resources that were never created.
void ShutDown();
