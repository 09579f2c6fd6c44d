// Structure and look rules of a stage map.
#include "stage_rules.h"

#include <algorithm>
#include <cstdio>

#include "tile_roles.h"
#include "world/actors.h"
#include "world/lifts.h"

namespace {

constexpr int kCaptionRow = 6; // "FRIBB, RUN!" is drawn at y 96..111
constexpr int kLogoTopRow = 2; // the title logo covers y 33..93
constexpr int kLogoBottomRow = 5;
constexpr int kMinPoolDepth = 2; // shallower water looks like a puddle one could not drown in
constexpr uint8_t kDoorTopLeft = 0x1B, kDoorTopRight = 0x1C, kDoorBottomLeft = 0x2F, kDoorBottomRight = 0x30;
constexpr uint8_t kRing = 0x29, kLift = 0x42, kCheckpoint = 0x11, kExtraLife = 0x1A, kBonus = 0x89;

struct Grid {
    const StageMap& map;
    const std::vector<int>& topRowLine;
    bool Inside(int c, int r) const { return c >= 0 && c < map.columns && r >= 0 && r < kRows; }
    uint8_t At(int c, int r) const { return Inside(c, r) ? map.cells[c * kRows + r] : 0; }
    int Line(int c, int r) const { return Inside(c, r) ? topRowLine[c] + r : 0; }
    // Beyond the left and right ends the stage is a wall.
    bool Solid(int c, int r) const { return c < 0 || c >= map.columns ? r >= 0 && r < kRows : IsSolidCode(At(c, r)); }
};

std::string Cell(int c, int r)
{
    return "column " + std::to_string(c) + ", row " + std::to_string(r);
}

std::string Hex(int code)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", code);
    return text;
}

struct Checker {
    Grid g;
    int stage;
    std::vector<StageIssue> issues;

    void Report(int c, int r, const std::string& what) { issues.push_back({g.Line(c, r), Cell(c, r) + ": " + what}); }
    void ReportMap(const std::string& what) { issues.push_back({0, what}); }

    void Markers()
    {
        int starts = 0, doors = 0, rings = 0, lifts = 0, checkpoints = 0, rewards = 0;
        int startC = 1;
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const uint8_t code = g.At(c, r);
                if (!IsPlaceable(code))
                    Report(c, r, "code " + Hex(code) + " is not for maps (no picture, or a frame the game draws)");
                if (IsStartMarker(code, stage)) {
                    ++starts;
                    startC = c;
                }
                rings += code == kRing;
                lifts += code == kLift;
                checkpoints += code == kCheckpoint;
                rewards += code == kExtraLife || code == kBonus;
                if (code == kDoorTopLeft) {
                    ++doors;
                    Door(c, r);
                } else if ((code == kDoorTopRight && g.At(c - 1, r) != kDoorTopLeft) ||
                           (code == kDoorBottomLeft && g.At(c, r - 1) != kDoorTopLeft) ||
                           (code == kDoorBottomRight && g.At(c - 1, r - 1) != kDoorTopLeft)) {
                    Report(c, r, "a piece of the exit door without its top-left piece");
                }
                if (code == kRing && stage == 0 && r >= kLogoTopRow && r <= kLogoBottomRow)
                    Report(c, r, "a ring under the title logo");
            }
        }
        if (stage == 0) {
            if (starts > 0)
                ReportMap("the title stage has a hero start marker");
            return;
        }
        if (starts != 1)
            ReportMap(std::to_string(starts) + " hero start markers; a stage has exactly one");
        if (doors != 1)
            ReportMap(std::to_string(doors) + " exit doors; a stage has exactly one");
        if (rings == 0)
            ReportMap("no rings");
        if (lifts > kMaxLifts)
            ReportMap(std::to_string(lifts) + " lifts; the engine makes at most 64");
        if (checkpoints == 0)
            ReportMap("no checkpoint");
        if (rewards == 0)
            ReportMap("no extra life or bonus to find");
        if (g.map.columns < kMinStageColumns || g.map.columns > kMaxStageColumns)
            ReportMap(std::to_string(g.map.columns) + " columns; a stage has 200 to 500");
        // The first screen shows the intro caption over row 6.
        const int first = std::max(0, startC - 1);
        for (int c = first; c < first + kViewColumns; ++c)
            if (g.At(c, kCaptionRow) == kRing)
                Report(c, kCaptionRow, "a ring behind the intro caption on the first screen");
    }

    void Door(int c, int r)
    {
        if (g.At(c + 1, r) != kDoorTopRight || g.At(c, r + 1) != kDoorBottomLeft ||
            g.At(c + 1, r + 1) != kDoorBottomRight)
            Report(c, r, "the exit door is not a whole 2x2 door");
        else if (!g.Solid(c, r + 2) || !g.Solid(c + 1, r + 2))
            Report(c, r + 1, "the exit door does not stand on solid ground");
    }

    void Enemies()
    {
        // Markers within one enemy lifetime of each other can all be in play at once.
        std::vector<int> perColumn(g.map.columns, 0);
        for (int c = 0; c < g.map.columns; ++c)
            for (int r = 0; r < kRows; ++r)
                perColumn[c] += EnemyOf(g.At(c, r)) >= 0;
        int inWindow = 0;
        for (int c = 0; c < g.map.columns; ++c) {
            inWindow += perColumn[c];
            if (c >= kEnemyLifeColumns)
                inWindow -= perColumn[c - kEnemyLifeColumns];
            if (inWindow > kActorSlots) {
                Report(c, 0,
                       std::to_string(inWindow) + " enemies within " + std::to_string(kEnemyLifeColumns) +
                           " columns; the engine keeps 32 in play");
                return;
            }
        }
    }

    void Water()
    {
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const uint8_t code = g.At(c, r);
                if (!IsWater(code)) {
                    if (IsLedge(code) && IsWater(g.At(c, r + 1)))
                        Report(c, r, "a ledge hanging right above water");
                    continue;
                }
                for (int dc : {-1, 1})
                    if (!g.Solid(c + dc, r) && !IsWater(g.At(c + dc, r)))
                        Report(c, r, "water open to the side; pools are held by solid walls");
                // A hero in the bottom row's water would sink out of the stage (the title has no hero).
                if ((r + 1 == kRows && stage > 0) || (r + 1 < kRows && !g.Solid(c, r + 1) && !IsWater(g.At(c, r + 1))))
                    Report(c, r, "water without a solid bottom in the stage; pools have a floor");
                const bool topOfWater = !IsWater(g.At(c, r - 1));
                if (!topOfWater)
                    continue;
                if (g.Solid(c, r - 1))
                    continue; // a flooded passage under rock
                if (!IsWaterSurface(code))
                    Report(c, r, "the top of open water is no surface tile");
                int depth = 0;
                while (IsWater(g.At(c, r + depth)))
                    ++depth;
                if (depth < kMinPoolDepth)
                    Report(c, r, "a pool one cell deep looks too shallow to drown in");
            }
        }
    }

    void Seams()
    {
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const int open = OpenSideOf(g.At(c, r));
                if ((open == SideLeft && c > 0 && IsSolidCode(g.At(c - 1, r))) ||
                    (open == SideRight && c + 1 < g.map.columns && IsSolidCode(g.At(c + 1, r))))
                    Report(c, r, "an end piece next to a solid cell leaves a seam; use the middle piece");
            }
        }
    }

    void BackWalls()
    {
        struct Dir {
            int dc, dr, edgeOfNeighbour, edgeHere;
        };
        // Looking from a cell to its neighbour: the side of the neighbour that faces the cell.
        constexpr Dir kDirs[] = {{0, -1, SideBottom, SideTop},
                                 {0, 1, SideTop, SideBottom},
                                 {-1, 0, SideRight, SideLeft},
                                 {1, 0, SideLeft, SideRight}};
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const uint8_t code = g.At(c, r);
                const int edge = BackWallEdge(code);
                if (edge > 0) {
                    for (const Dir& d : kDirs)
                        if (d.edgeHere == edge && g.Inside(c + d.dc, r + d.dr) &&
                            BackWallEdge(g.At(c + d.dc, r + d.dr)) >= 0)
                            Report(c, r, "a back wall's edge faces another back wall");
                    continue;
                }
                if (edge == 0 || !ShowsSky(code))
                    continue;
                for (const Dir& d : kDirs) {
                    const int n = BackWallEdge(g.At(c + d.dc, r + d.dr));
                    if (g.Inside(c + d.dc, r + d.dr) && n >= 0 && n != d.edgeOfNeighbour) {
                        Report(c, r,
                               "shows the sky as a square hole in the back wall at " + Cell(c + d.dc, r + d.dr) +
                                   "; frame it with the wall's edge pieces");
                        break;
                    }
                }
            }
        }
    }
};

} // namespace

std::vector<StageIssue> CheckStage(const StageMap& map, const std::vector<int>& topRowLines, int stageNumber)
{
    Checker k{Grid{map, topRowLines}, stageNumber, {}};
    k.Markers();
    if (stageNumber > 0)
        k.Enemies();
    k.Water();
    k.Seams();
    k.BackWalls();
    std::stable_sort(k.issues.begin(), k.issues.end(),
                     [](const StageIssue& a, const StageIssue& b) { return a.line < b.line; });
    return k.issues;
}
