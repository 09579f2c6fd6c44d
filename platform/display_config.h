// The display choice for the whole run, made once at start-up.
#pragma once

struct DisplayConfig {
    int fullscreen = 1; // full-screen video mode
    int zoom = 1;       // show the 320x240 screen doubled
    int smooth = 0;     // smoothing filter when doubling (linear filter with OpenGL)
    int scale2x = 0;    // Scale2x when doubling; smoothing wins when both are set
    int opengl = 0;     // present through an OpenGL texture
    int hd = 0;         // with OpenGL: 1360x768 mode, picture in a centred 1024x768 area
    int depth = 16;     // colour depth in bits: 16 or 24
};
