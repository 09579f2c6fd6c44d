// Process start-up in its fixed order, the session call and shutdown.
#pragma once

#include "platform/display_config.h"

// The whole program: start-up, intro scenes, the session, shutdown.
// Returns the process exit code (0); fatal errors and "-h" end the process inside.
int GameMain(int argc, char** argv);

// Start-up steps 2 to 9: SDL video, the display, colours and dim overlay,
// joystick, audio, caption, hidden cursor, archives.
void StartPlatform(const DisplayConfig& display);

// Start-up steps 10 to 12: fonts and logo, configuration, volumes.
void LoadFrontEnd();

// The shutdown order; tolerates resources that were never created.
void ShutDown();
