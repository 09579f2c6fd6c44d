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

// Most buttons a simulated joystick can have.
constexpr int kMaxSimulatedButtons = 32;

// For replays: from now on the joystick is one that exists only in memory,
// with buttonCount buttons (clamped to 1..kMaxSimulatedButtons), all up; 0
// goes back to the real one. Its buttons are moved with SetSimulatedButton.
void SimulateJoystick(int buttonCount);

// Puts a button of the simulated joystick down or up; ignored out of range.
void SetSimulatedButton(int button, bool down);
