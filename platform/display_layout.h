// Where the 320x240 logical screen goes on a full-screen desktop: the largest whole
// factor that fits, 4:3 kept, centred, black around.
#pragma once

// The video mode to open and the picture's place on it. Every logical pixel covers
// factor x factor device pixels: a filter pass of filterFactor (2 for Scale2x and
// smoothing, 1 when none runs), then every filtered pixel repeated as a repeat x repeat block.
struct PictureLayout {
    int modeWidth = 0; // video mode
    int modeHeight = 0;
    int factor = 0; // filterFactor * repeat
    int filterFactor = 1;
    int repeat = 1;
    int left = 0; // picture on the mode
    int top = 0;
    int width = 0;
    int height = 0;
};

// The full-screen layout on a desktop of desktopWidth x desktopHeight. filtered: a
// factor-2 filter (Scale2x or smoothing) must run, so the factor is the largest even one
// that fits (or 1, unfiltered, on a desktop below 640x480). A desktop below 320x240, or of
// unknown size (zero), gets the 640x480 mode the picture was made for, filled by the filter
// or by doubling, and the compatibility layer scales that to the screen.
PictureLayout FullscreenLayout(int desktopWidth, int desktopHeight, bool filtered);

// The 640x480 window: the picture doubled, filling it.
PictureLayout DoubledWindowLayout(bool filtered);
