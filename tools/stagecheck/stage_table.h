// The stage table of content/maps/STAGES.md.
#pragma once

#include <string>
#include <vector>

#include "stage_census.h"
#include "stage_runs.h"

// One playable stage as the table shows it.
struct StageRow {
    int number = 0;
    std::string music; // the title of the stage's tune
    StageCensus census;
    long finishFrames = 0;
    long outOfSight = 0; // frames of the finishing run with the hero above the screen
    int jumps = 0; // jumps of the finishing run (the jump or up button pressed anew)
    Tolerance tolerance;
    std::vector<int> introduces; // mechanics not seen in an earlier stage
};

// The whole STAGES.md: a short explanation, the table, and the legend of its columns.
// placesPerVariant is how many input changes each shifted run moves.
// chartName is the file name of the difficulty chart the build draws next to it.
std::string FormatStagesFile(const std::vector<StageRow>& rows, int placesPerVariant, const std::string& chartName);
