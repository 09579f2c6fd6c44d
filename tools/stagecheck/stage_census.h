// Counting what a stage holds, for the stage table.
#pragma once

#include <vector>

#include "map_text.h"
#include "tile_roles.h"

struct StageCensus {
    int columns = 0;
    int rings = 0;
    int enemies[MechanicCount] = {}; // by MechMasky..MechSkull
    int lifts = 0;
    int crushingLifts = 0; // lifts that rise into a ceiling, crushing a rider who stays on
    int spikes = 0, hiddenSpikes = 0, explosives = 0;
    int checkpoints = 0;
    int themeCells[ThemeCount] = {};
    std::vector<int> themes; // themes with a real share of the themed cells, most used first
    bool has[MechanicCount] = {};
};

// A theme counts for a stage when it has at least this share of the themed cells.
constexpr double kThemeShare = 0.1;

StageCensus CountStage(const StageMap& map);
