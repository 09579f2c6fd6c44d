// Structure and look rules of a stage map.
#include "stage_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "tile_roles.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"

namespace {

constexpr int kCaptionRow = 6; // "FRIBB, RUN!" is drawn at y 96..111
constexpr int kLogoTopRow = 2; // the title logo covers y 33..93
constexpr int kLogoBottomRow = 5;
constexpr int kMinPoolDepth = 2; // shallower water looks like a puddle one could not drown in
constexpr uint8_t kDoorTopLeft = 0x1B, kDoorTopRight = 0x1C, kDoorBottomLeft = 0x2F, kDoorBottomRight = 0x30;
constexpr uint8_t kRing = 0x29, kLift = 0x42, kCheckpoint = 0x11, kExtraLife = 0x1A, kBonus = 0x89;
constexpr uint8_t kHiddenSpikes = 0x57, kDangerSign = 0x3E;

// Columns under the lip of a cave mouth or an overhang that may show the sky beyond it.
constexpr int kMouthColumns = 2;
// Hidden spikes: spike columns closer than this many columns apart form one run; its danger
// sign stands this far before the run's first column. The view shows 90 pixels ahead of
// the hero, so a sign two cells before the spikes is on screen for 122 pixels, a second at
// walking speed; further than eight cells it no longer reads as belonging to them.
constexpr int kSpikeRunGap = 4;
constexpr int kSignNearest = 2;
constexpr int kSignFarthest = 8;
// A running jump taken a column or two before a pit or a hazard comes down six columns
// past it, and a hero who holds on runs three more before he sees and stops: hidden spikes
// this close after a pit, a hazard or a drop are where one who had to jump or fall runs
// into them, unless their sign stood within this many columns past it, on screen before
// he took off (the view shows 90 pixels ahead).
constexpr int kLandingColumns = 10;
constexpr int kSignSeenAtTakeoff = 3;
// A screen for the look rules, the step between the screens looked at, the share of a
// screen one tile may fill, and its least decoration.
constexpr int kScreenColumns = 20;
constexpr int kScreenStep = 5;
constexpr int kWallpaperPercent = 60;
constexpr int kMinDecorationPerScreen = 2;
// Front pieces side by side that cover a whole enemy for a moment: an enemy is 16 pixels
// wide, so behind two cells it is out of sight while it crosses one.
constexpr int kHidingFrontCells = 2;
// How far from its start an enemy is followed: it comes into play one cell right of the
// view and leaves it 250 pixels behind the view's left edge.
constexpr int kEnemyReachColumns = (320 + 250) / 16;

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

    void Report(int c, int r, const std::string& what)
    {
        issues.push_back({g.Line(c, r), Cell(c, r) + ": " + what, ""});
    }
    void ReportMap(const std::string& what) { issues.push_back({0, what, ""}); }
    void Flag(const char* rule, int c, int r, const std::string& what)
    {
        issues.push_back({g.Line(c, r), Cell(c, r) + ": " + what + " [" + rule + "]", rule});
    }

    // What shows the background during play: see-through pictures that stay, and pieces that go.
    bool ShowsBackground(int c, int r) const
    {
        const uint8_t code = g.At(c, r);
        return g.Inside(c, r) && ShowsSky(code) && (!IsSolidCode(code) || Vanishes(code, stage)) && !IsWater(code);
    }
    bool OpenTop(int c) const { return !IsSolidCode(g.At(c, 0)); }
    bool NearOpenColumn(int c) const
    {
        for (int d = 1; d <= kMouthColumns; ++d)
            if ((c - d >= 0 && OpenTop(c - d)) || (c + d < g.map.columns && OpenTop(c + d)))
                return true;
        return false;
    }

    // One 4-connected stretch of cells that show the background.
    struct Region {
        std::vector<std::pair<int, int>> cells;
        bool reachesOpenColumn = false; // part of it lies in a column open to the sky above
        bool framed = false;            // a back wall's edge piece borders it
        bool allVanish = true;          // every cell holds a piece that goes away in play
    };

    std::vector<Region> BackgroundRegions() const
    {
        std::vector<int> seen(static_cast<size_t>(g.map.columns) * kRows, 0);
        std::vector<Region> regions;
        for (int c0 = 0; c0 < g.map.columns; ++c0) {
            for (int r0 = 0; r0 < kRows; ++r0) {
                if (seen[c0 * kRows + r0] || !ShowsBackground(c0, r0))
                    continue;
                Region region;
                std::vector<std::pair<int, int>> todo{{c0, r0}};
                seen[c0 * kRows + r0] = 1;
                while (!todo.empty()) {
                    const auto [c, r] = todo.back();
                    todo.pop_back();
                    region.cells.push_back({c, r});
                    region.reachesOpenColumn = region.reachesOpenColumn || OpenTop(c);
                    region.allVanish = region.allVanish && Vanishes(g.At(c, r), stage);
                    for (const auto& [dc, dr] :
                         {std::pair{0, -1}, std::pair{0, 1}, std::pair{-1, 0}, std::pair{1, 0}}) {
                        const int nc = c + dc, nr = r + dr;
                        if (!g.Inside(nc, nr))
                            continue;
                        if (BackWallEdge(g.At(nc, nr)) > 0)
                            region.framed = true;
                        if (!seen[nc * kRows + nr] && ShowsBackground(nc, nr)) {
                            seen[nc * kRows + nr] = 1;
                            todo.push_back({nc, nr});
                        }
                    }
                }
                std::sort(region.cells.begin(), region.cells.end());
                regions.push_back(std::move(region));
            }
        }
        return regions;
    }

    void InteriorSky()
    {
        for (const Region& region : BackgroundRegions()) {
            // An opening framed in a back wall and closed to the open air is a designed window.
            if (region.framed && !region.reachesOpenColumn) {
                if (region.allVanish)
                    Flag("item-socket", region.cells[0].first, region.cells[0].second,
                         "a framed socket only its piece fills; once that is gone it stays an empty window, so put "
                         "it where an opening is anyway");
                continue;
            }
            int count = 0, firstC = -1, firstR = -1, lastC = -1;
            for (const auto& [c, r] : region.cells) {
                // Under the lip of a cave mouth or an overhang one sees what lies beyond it.
                if (OpenTop(c) || (region.reachesOpenColumn && NearOpenColumn(c)))
                    continue;
                if (count++ == 0) {
                    firstC = c;
                    firstR = r;
                }
                lastC = c;
            }
            if (count > 0)
                Flag("interior-sky", firstC, firstR,
                     std::to_string(count) + " cells under a solid top row show the night sky (columns " +
                         std::to_string(firstC) + " to " + std::to_string(lastC) +
                         "); give the interior a back wall or open it to the sky above");
        }
    }

    void HiddenSpikes()
    {
        std::vector<int> spikeRow(g.map.columns, -1); // the lowest hidden spike of each column
        for (int c = 0; c < g.map.columns; ++c)
            for (int r = 0; r < kRows; ++r)
                if (g.At(c, r) == kHiddenSpikes)
                    spikeRow[c] = r;
        for (int first = 0; first < g.map.columns; ++first) {
            if (spikeRow[first] < 0)
                continue;
            int last = first;
            for (int c = first + 1; c < g.map.columns && c - last <= kSpikeRunGap; ++c)
                if (spikeRow[c] >= 0)
                    last = c;
            int sign = -1; // the column of the nearest sign before the run
            for (int c = first - kSignFarthest; c <= first - kSignNearest; ++c)
                for (int r = 0; r < kRows; ++r)
                    if (g.At(c, r) == kDangerSign)
                        sign = c;
            if (sign < 0)
                Flag("danger-sign", first, spikeRow[first],
                     "hidden spikes without a danger sign 2 to 8 columns before them");
            Landing(first, spikeRow[first], sign);
            first = last;
        }
    }

    // Hidden spikes at (c, r), standing on the floor below: what lies just before them.
    // Walking back along the ground, up one-row steps (walked at any speed), a higher drop,
    // a hazard or a pit within reach means a hero who jumped or fell comes down here, unless
    // the sign (at column sign, or -1) was in view before he jumped.
    void Landing(int c, int r, int sign)
    {
        int floor = r; // the row the hero walks in at column x
        for (int x = c - 1; x >= c - kLandingColumns && x >= 0; --x) {
            std::string why;
            if (g.Solid(x, floor)) {
                int top = floor;
                while (top > 0 && g.Solid(x, top - 1))
                    --top;
                if (top < floor)
                    why = "a drop";
                else if (top == 0)
                    return; // a wall to the top of the stage: nobody comes from there
                else
                    floor = top - 1;
            } else if (IsHazardCode(g.At(x, floor))) {
                why = "a hazard";
            } else if (!g.Solid(x, floor + 1)) {
                // Lower ground behind a step the hero came up: he climbed, nothing forced.
                if (floor != r)
                    for (int below = floor + 2; below < kRows; ++below)
                        if (g.Solid(x, below))
                            return;
                why = "a pit";
            }
            if (!why.empty()) {
                if (sign >= 0 && sign - x <= kSignSeenAtTakeoff)
                    return; // the sign was on screen before he took off
                Flag("spikes-after-jump", c, r,
                     "hidden spikes " + std::to_string(c - x) + " columns after " + why + " at column " +
                         std::to_string(x) + ", where a hero who had to jump or fall comes down; move them " +
                         "further on or their sign to within " + std::to_string(kSignSeenAtTakeoff) +
                         " columns past it");
                return;
            }
        }
    }

    // Enemies keep to their row: walkers go left, turn at what blocks them and drop off
    // edges (a SKULL steps over one-cell gaps); flyers and fish turn at what blocks them.
    // Where that way leads behind front pieces side by side, the enemy is out of sight just
    // where it can meet the hero.
    void HiddenEnemies()
    {
        static const char* const kNames[] = {"MASKY", "BEETLE", "WINGEDEYE", "ACIDFISH", "SKULL"};
        for (int c0 = 0; c0 < g.map.columns; ++c0) {
            for (int r0 = 0; r0 < kRows; ++r0) {
                const int enemy = EnemyOf(g.At(c0, r0));
                if (enemy < 0)
                    continue;
                const bool walks = enemy == MechMasky || enemy == MechBeetle || enemy == MechSkull;
                // Row by row, left to right: runs of front pieces along the way.
                std::vector<std::pair<int, int>> way; // (row, column)
                for (const auto& [c, r] : EnemyWay(c0, r0, walks, enemy == MechSkull))
                    if (IsFrontPiece(c, r))
                        way.push_back({r, c});
                std::sort(way.begin(), way.end());
                way.erase(std::unique(way.begin(), way.end()), way.end());
                for (size_t first = 0, last = 0; first < way.size(); first = ++last) {
                    while (last + 1 < way.size() && way[last + 1].first == way[first].first &&
                           way[last + 1].second == way[last].second + 1)
                        ++last;
                    if (static_cast<int>(last - first) + 1 < kHidingFrontCells)
                        continue;
                    Flag("hidden-enemy", way[first].second, way[first].first,
                         std::string("the ") + kNames[enemy - MechMasky] + " from " + Cell(c0, r0) +
                             " passes out of sight behind front pieces (columns " + std::to_string(way[first].second) +
                             " to " + std::to_string(way[last].second) + "), where it can meet the hero unseen");
                    break;
                }
            }
        }
    }

    bool IsFrontPiece(int c, int r) const { return g.Inside(c, r) && kTileLayer[g.At(c, r)] == 1; }

    // The cells an enemy starting at (c0, r) passes through, walking left first, as far as it
    // stays in play.
    std::vector<std::pair<int, int>> EnemyWay(int c0, int r, bool walks, bool bridgesGaps) const
    {
        int c = c0;
        std::vector<std::pair<int, int>> way{{c, r}};
        std::vector<uint8_t> seen(static_cast<size_t>(g.map.columns) * kRows * 2, 0);
        int dir = -1;
        while (true) {
            if (walks) {
                // A SKULL over a one-cell gap is held up by the ground beyond it.
                while (r + 1 < kRows && !g.Solid(c, r + 1) &&
                       !(bridgesGaps && !g.Solid(c + dir, r) && g.Solid(c + dir, r + 1)))
                    way.push_back({c, ++r});
                if (r + 1 >= kRows)
                    break; // falls out of the stage
            }
            uint8_t& visited = seen[(static_cast<size_t>(c) * kRows + r) * 2 + (dir > 0)];
            if (visited)
                break;
            visited = 1;
            if (std::abs(c - c0) >= kEnemyReachColumns)
                break;
            if (g.Solid(c + dir, r)) {
                dir = -dir;
                if (g.Solid(c + dir, r))
                    break; // boxed in
                continue;
            }
            c += dir;
            way.push_back({c, r});
        }
        return way;
    }

    void Joins()
    {
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const uint8_t code = g.At(c, r);
                if (IsGrassTop(code) && r > 0 && IsSolidCode(g.At(c, r - 1)))
                    Flag("broken-join", c, r, "grass under solid ground; use the body piece under raised ground");
                if (IsBareEarth(code) && r > 0 && ShowsBackground(c, r - 1))
                    Flag("broken-join", c, r, "bare earth under the open sky; top it with grass");
                if (!ShowsBackground(c, r))
                    continue;
                if (r + 1 == kRows && g.Solid(c, r - 1))
                    Flag("broken-join", c, r, "a hole under the ground of the bottom row shows the background");
                else if (r > 0 && g.Solid(c, r - 1) && g.Solid(c - 1, r) && g.Solid(c + 1, r) &&
                         (r + 1 == kRows || g.Solid(c, r + 1)))
                    Flag("broken-join", c, r, "a hole in the ground shows the background");
            }
        }
    }

    // A firm cell holds scenery up: solid, no hazard or water, and not a piece that goes away
    // or moves in play (crumbling floor, brick, crate, lift).
    bool Firm(int c, int r) const
    {
        if (!g.Inside(c, r))
            return g.Solid(c, r); // the stage's left and right ends are walls
        const uint8_t code = g.At(c, r);
        return IsSolidCode(code) && !IsHazardCode(code) && !IsWater(code) && !Vanishes(code, stage);
    }
    // A wall a torch, a window or a cobweb can be fixed to: firm, or a back wall.
    bool Wall(int c, int r) const { return Firm(c, r) || (g.Inside(c, r) && BackWallEdge(g.At(c, r)) >= 0); }
    // True when the cell (c, r) holds another piece of the piece's tall piece (or the one piece
    // it must hang from), which holds it up in turn.
    bool RestsOnOwnPiece(const SceneryPiece& piece, int c, int r) const
    {
        if (!g.Inside(c, r))
            return false;
        const uint8_t neighbour = g.At(c, r);
        if (piece.restsOn != 0)
            return neighbour == piece.restsOn;
        const SceneryPiece* other = FindScenery(neighbour);
        return piece.group > 0 && other && other->group == piece.group;
    }

    // Scenery that should stand stands on firm ground, what hangs hangs from something, torches
    // sit on a wall and windows in one; else it floats in the air or stands on water.
    void FloatingDecoration()
    {
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const SceneryPiece* piece = FindScenery(g.At(c, r));
                if (!piece)
                    continue;
                std::string what;
                switch (piece->support) {
                case Support::Stands:
                    if (!Firm(c, r + 1) && !RestsOnOwnPiece(*piece, c, r + 1))
                        what = Beneath(c, r + 1) +
                               " under it; put it on firm ground (not water, a hazard or a piece that goes away)";
                    break;
                case Support::Hangs:
                    if (piece->restsOn != 0) {
                        // A banner's bottom hangs from its top and nothing else.
                        if (!RestsOnOwnPiece(*piece, c, r - 1))
                            what = "no " + std::string(FindScenery(piece->restsOn)->name) + " above it to hang from";
                    } else if (!Firm(c, r - 1) && !RestsOnOwnPiece(*piece, c, r - 1) &&
                               !(r == 0 && piece->fromTopEdge)) {
                        what = "nothing firm above it to hang from; put it under solid ground";
                    } else if (g.Inside(c, r - 1) && IsLedge(g.At(c, r - 1))) {
                        // A ledge's picture ends above its cell's bottom, so what hangs under it
                        // shows a gap of sky.
                        what = "it hangs under a thin ledge (" + Hex(g.At(c, r - 1)) +
                               ") and shows a gap; hang it under a full block";
                    }
                    break;
                case Support::OnWall:
                    if (!Wall(c - 1, r) && !Wall(c + 1, r))
                        what = "no wall left or right of it to be fixed to";
                    break;
                case Support::InWall:
                    if (!(Wall(c - 1, r) && Wall(c + 1, r)) && !(Wall(c, r - 1) && Wall(c, r + 1)))
                        what = "set in no wall; it needs walls left and right or above and below";
                    break;
                case Support::InCorner:
                    if (!Wall(c, r - 1) && !Wall(c + 1, r))
                        what = "spun from nothing; it needs a wall above it or to its right";
                    break;
                }
                if (!what.empty())
                    Flag("floating-decoration", c, r, std::string(piece->name) + " (" + Hex(piece->code) + "): " + what);
            }
        }
    }
    // A column reads from its top down its shaft to its base; a top or a base part way along it
    // shows two columns stacked on each other.
    void StackedColumns()
    {
        for (int c = 0; c < g.map.columns; ++c) {
            for (int r = 1; r < kRows; ++r) {
                const ColumnPart above = ColumnPartOf(g.At(c, r - 1));
                const ColumnPart here = ColumnPartOf(g.At(c, r));
                if (above == ColumnPart::NotColumn || here == ColumnPart::NotColumn)
                    continue;
                if (here == ColumnPart::Top)
                    Flag("stacked-column", c, r, "a column's top under another piece of a column; use a shaft piece");
                else if (above == ColumnPart::Base)
                    Flag("stacked-column", c, r, "a column goes on under its base; use a shaft piece for the base");
            }
        }
    }
    // What a piece that should stand has under it, for the report.
    std::string Beneath(int c, int r) const
    {
        if (!g.Inside(c, r))
            return "the bottom edge of the stage";
        const uint8_t code = g.At(c, r);
        if (IsWater(code))
            return "water";
        if (IsHazardCode(code))
            return "a hazard (" + Hex(code) + ")";
        if (IsSolidCode(code))
            return "a piece that goes away or moves (" + Hex(code) + ")";
        if (BackWallEdge(code) >= 0)
            return "a bare stretch of back wall";
        return "nothing";
    }

    // Every view the player can scroll to, in steps; each stretch is reported once.
    void Screens()
    {
        int wallpaperEnd = -1, decorationEnd = -1;
        for (int start = 0; start + kScreenColumns <= g.map.columns; start += kScreenStep) {
            std::map<uint8_t, int> counts;
            int decoration = 0;
            for (int c = start; c < start + kScreenColumns; ++c) {
                for (int r = 0; r < kRows; ++r) {
                    const uint8_t code = g.At(c, r);
                    if (code != 0)
                        ++counts[code];
                    decoration += IsDecoration(code);
                }
            }
            const int cells = kScreenColumns * kRows;
            const std::string columns =
                "columns " + std::to_string(start) + " to " + std::to_string(start + kScreenColumns - 1);
            for (const auto& [code, n] : counts) {
                if (n * 100 > cells * kWallpaperPercent && start >= wallpaperEnd) {
                    Flag("wallpaper", start, 0,
                         "a wallpaper screen: " + std::to_string(n * 100 / cells) + " % of " + columns + " is code " +
                             Hex(code) + "; break it up with variants, edges and decoration");
                    wallpaperEnd = start + kScreenColumns;
                }
            }
            if (decoration < kMinDecorationPerScreen && start >= decorationEnd) {
                Flag("decoration", start, 0,
                     columns + " hold " + std::to_string(decoration) + " decoration cells, fewer than " +
                         std::to_string(kMinDecorationPerScreen));
                decorationEnd = start + kScreenColumns;
            }
        }
    }

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
    k.InteriorSky();
    if (stageNumber > 0) {
        k.HiddenSpikes();
        k.HiddenEnemies();
    }
    k.Joins();
    k.FloatingDecoration();
    k.StackedColumns();
    k.Screens();
    std::stable_sort(k.issues.begin(), k.issues.end(),
                     [](const StageIssue& a, const StageIssue& b) { return a.line < b.line; });
    return k.issues;
}
