// Opening the video mode and presenting the 320x240 logical screen.
#pragma once

#include <cstdint>

#include "core/geometry.h"
#include "platform/display_config.h"
#include "platform/display_layout.h"

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

// As OpenDisplay, with a desktop of desktopWidth x desktopHeight for the full-screen layout
// instead of asking SDL for the real one (benchmarks and tests on the headless driver).
void OpenDisplayForDesktop(const DisplayConfig& config, int desktopWidth, int desktopHeight);

// The software part of PresentScreen: scales screenSurface into the video surface without
// showing it. Does nothing in the 1x window and with OpenGL.
void ScalePicture();

// Shows the current contents of screenSurface in the chosen way.
void PresentScreen();

// The picture's place on the video mode in every mode but the 1x window (all zero there);
// factor 0 for the HD OpenGL window, whose picture is not a whole multiple.
PictureLayout DisplayLayout();

// The name of the scaler set the display presents with ("portable", "ssse3", "avx2").
const char* ChosenScalerSet();

// Frees what OpenDisplay allocated besides the video surface (the smoothing buffer and a
// screenSurface that is not the video surface itself); safe to call when nothing is open.
void CloseDisplay();
