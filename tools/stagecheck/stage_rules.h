// The structure and look rules every stage map must keep, checked on the compiled map.
#pragma once

#include <string>
#include <vector>

#include "map_text.h"

// A broken rule: the source line of the offending cell (0 for the whole map) and what is wrong.
struct StageIssue {
    int line = 0;
    std::string what;
};

// Shortest and longest playable stage, in columns.
constexpr int kMinStageColumns = 200;
constexpr int kMaxStageColumns = 500;
// Columns an enemy stays in play for: it spawns one cell right of the view and is
// dropped once the camera is 250 pixels past it.
constexpr int kEnemyLifeColumns = (320 + 16 + 250) / 16 + 1;

// Checks one stage (stageNumber 1..10, or 0 for the title stage):
// - one hero start (none on the title), one 2x2 exit door standing on solid ground,
//   at least one ring, an extra life or a bonus, a checkpoint; at most 64 lifts;
//   200..500 columns; never more enemies within reach of the view than actor slots;
// - only codes a map may hold;
// - no ring in row 6 of the first screen (the intro caption) and, on the title,
//   none in rows 2..5 under the logo;
// - pools that hold their water, at least two cells deep, with a surface open to
//   the sky and no ledge hanging right above them;
// - no seams: the end pieces of grass, beams and ice platforms keep their
//   open side free of solid cells;
// - every cell that shows the sky next to a back wall is framed by the wall's
//   edge pieces, and every edge piece faces such a cell.
// topRowLines gives the source line of each column's top row (from CompileMapText).
std::vector<StageIssue> CheckStage(const StageMap& map, const std::vector<int>& topRowLines, int stageNumber);
