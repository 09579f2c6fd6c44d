// The structure and look rules every stage map must keep, checked on the compiled map.
#pragma once

#include <string>
#include <vector>

#include "map_text.h"

// A broken rule: the source line of the offending cell (0 for the whole map), what is wrong
// and the rule's name (empty for the structure rules).
struct StageIssue {
    int line = 0;
    std::string what;
    std::string rule;
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
//   edge pieces, and every edge piece faces such a cell;
// and the named rules:
// - interior-sky: under a solid top row the background shows only through framed
//   openings in a back wall, or in the first two columns under a cave mouth's lip;
// - item-socket: no framed opening that only pick-ups, starts or crates fill;
// - danger-sign: a danger sign 2..8 columns before every run of hidden spikes;
// - spikes-after-jump: no hidden spikes within 6 columns after a pit, a hazard or a drop;
// - broken-join: no grass under solid ground, bare earth under the sky, holes under the
//   ground of the bottom row or one-cell holes in the ground;
// - wallpaper: no screen (any 20 columns, looked at in steps of 5) more than 60 % one tile;
// - decoration: at least two decoration cells in every screen;
// - hidden-enemy: no enemy whose way along its row (walkers dropping off edges) passes
//   behind two or more front pieces side by side.
// - floating-decoration: plants, fences, rocks, posts and columns stand on firm ground (or on
//   a lower piece of their own tall piece), stalactites, vines, chains and banners hang from a
//   firm cell, torches sit beside a wall, windows between walls, cobwebs in a corner.
// - stacked-column: a column or pillar shows its top only at the top and its base only at the
//   bottom, never a second top or base part way up.
// topRowLines gives the source line of each column's top row (from CompileMapText).
std::vector<StageIssue> CheckStage(const StageMap& map, const std::vector<int>& topRowLines, int stageNumber);
