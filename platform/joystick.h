// The first joystick, opened at start-up when one is present.
#pragma once

// Opens joystick 0 when the joystick subsystem starts and one is present; silent otherwise.
void OpenJoystick();

// Closes the joystick if one is open.
void CloseJoystick();

// True when a joystick is open.
bool JoystickPresent();

// Number of buttons of the open joystick, 0 without one.
int JoystickButtonCount();

// State of one button of the open joystick (0 or 1), 0 without one.
int JoystickButton(int button);
