// The options screen of the title stage: bindings, volumes, screen choices, reset and back.
#pragma once

#include <cstdint>

// The title stage's menuState while the options screen runs, and the main
// menu item it returns to.
constexpr int kMenuOptions = 4;
constexpr int kMenuOptionsScreen = -kMenuOptions;

// Rows of the options list (values of optionsCursor).
enum OptionsRow {
    RowConfigureKeys = 0,
    RowConfigurePad = 1,
    RowMusicVolume = 2,
    RowSfxVolume = 3,
    RowScreenSettings = 4,
    RowAntiAliasing = 5,
    RowResetToDefault = 6,
    RowBackToMenu = 7,
    kOptionsRows = 8,
};

// Frames a held button waits between two actions (it then acts every 11th frame).
constexpr int32_t kOptionsRepeatDelay = 10;
// Percent a volume moves per step.
constexpr int kVolumeStep = 5;

// The screen's own state; the capture state is KeyCapture's.
struct OptionsMenu {
    int32_t optionsCursor = 0; // selected row
    int32_t repeatDelay = 0;   // frames before a held button acts again
    int32_t configDirty = 0;   // something the configuration file holds has changed
    int32_t restartNeeded = 0; // a screen choice changed: "(RESTART TO APPLY)"
};

// The one options screen state.
extern OptionsMenu optionsMenu;

// Entering the screen: cursor on the first row, no capture, no delay, nothing changed.
void ResetOptionsMenu();

// One frame of the screen, run by the title's options step while menuState is
// kMenuOptionsScreen: start or jump confirms the row (BACK TO MENU writes the
// configuration when something changed and returns to the main menu), up and
// down move the cursor, left and right change the value; while a capture
// runs, the key or pad button pressed is captured instead.
void OptionsStep();

// The screen over the title stage picture, dimmed; not presented.
void DrawOptionsLayer();
