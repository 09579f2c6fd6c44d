// A whole stage drawn into one picture with the game's tiles, for reviewing a stage at a glance.
#pragma once

#include <cstddef>
#include <cstdint>

// Draws the map bytes (the binary stage map format) as they are stored, markers
// included, over the repeated background into a BMP of (columns x 16) x 192
// pixels at path. Needs the video mode, the tile images and (optionally) the
// background. False when the map is too short or the picture cannot be written.
bool SaveStageOverview(const uint8_t* map, size_t size, const char* path);
