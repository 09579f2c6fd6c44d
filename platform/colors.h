// The five screen colours, mapped once into the logical screen's pixel format.
#pragma once

#include <cstdint>

extern uint32_t ColorBlack;    // 0, 0, 0
extern uint32_t ColorRed;      // 255, 0, 0: hurry bar
extern uint32_t ColorDarkRed;  // 128, 0, 0: hurry bar, used part
extern uint32_t ColorBlue;     // 0, 0, 255: oxygen bar
extern uint32_t ColorDarkBlue; // 0, 0, 128: oxygen bar, used part

// Maps the five colours in the format of screenSurface.
void MapColors();
