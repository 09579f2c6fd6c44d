// Opening the video mode and presenting the 320x240 logical screen.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "platform/display_config.h"

struct SDL_Surface;

// The 320x240 logical screen everything draws into.
extern SDL_Surface* screenSurface;
// The video surface when it is not screenSurface itself (null in the 1x window).
extern SDL_Surface* displaySurface;
// The display choice in use, fixed after OpenDisplay.
extern DisplayConfig displayConfig;
// Pixel values and masked values for software smoothing (kSmoothBufferWords words);
// null unless the software smoothing mode is open.
extern uint32_t* smoothBuffer;

// Opens the video mode for the choice and creates screenSurface. Ends the
// process with "Unable to set video mode" when either cannot be made.
void OpenDisplay(const DisplayConfig& config);

// Shows the current contents of screenSurface in the chosen way.
void PresentScreen();

// Frees what OpenDisplay allocated besides the video surface (the smoothing buffer and a
// screenSurface that is not the video surface itself); safe to call when nothing is open.
void CloseDisplay();
