// Attempt start: reading a stage map into the grid and placing lifts, door, camera and hero.
#pragma once

#include <cstddef>
#include <cstdint>

struct Player;

// The whole attempt start for game.stage: timers, cleared screen and slots,
// the map from the maps archive (or the test map file in test mode), the
// grid with its markers, lifts and door, camera, hero, music, frame clock.
// Ends the process with "Can't load file" when the map is missing or empty.
void LoadStage(Player& hero);

// The grid part of an attempt start, on map bytes already read: both grids,
// start markers, door, rings, lifts, the restore grid, a taken checkpoint at
// the restart point, the camera and the hero. A map shorter than its column
// count reads the missing cells as 0. size must be at least 2.
void ApplyStageMap(const uint8_t* data, size_t size, Player& hero);

// The map file played in test mode (and by replays of a map file).
void SetTestMapPath(const char* path);
// Current test map path, "maps/test.bin" unless changed.
const char* TestMapPath();
