// The stage checker's look and fairness rules, each on small maps that break it and keep it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "map_text.h"
#include "platform/input.h"
#include "stage_reach.h"
#include "stage_rules.h"
#include "stage_runs.h"
#include "world/map_format.h"

namespace {

// Legend of the test maps: rock, cave back wall and its edge pieces (T top, U bottom, l left,
// r right), earth, a danger sign, a tuft; scenery: a bush, flowers, a pine's top and trunk, a
// column's top, shaft and base, a stalactite, a chain, a banner's top and bottom, a torch and
// the cave wall with mushrooms, a mossy rock ledge.
const char* const kLegend = "legend R 6f\nlegend V 2e\nlegend T d8\nlegend U d9\nlegend l da\nlegend r db\n"
                            "legend e 17\nlegend ! 3e\nlegend t 51\n"
                            "legend h 53\nlegend f 52\nlegend p 6b\nlegend q 6c\nlegend 7 af\nlegend | b0\n"
                            "legend _ b1\nlegend k 65\nlegend j 93\nlegend y 94\nlegend z 95\nlegend n 9b\n"
                            "legend m ad\nlegend L 73\n";

struct RuleCase {
    const char* name;
    const char* rule;
    std::vector<std::string> rows; // 12 rows, top first
    int expected;                  // issues of the rule
    int firstColumn = -1;          // the column the first one names, when given
};

std::vector<StageIssue> Check(const std::vector<std::string>& rows, std::vector<int>& topRowLines)
{
    std::string text = std::string(kLegend) + "map\n";
    for (const std::string& row : rows)
        text += row + "\n";
    StageMap map;
    std::string error;
    EXPECT_TRUE(CompileMapText(text, map, error, &topRowLines)) << error;
    return CheckStage(map, topRowLines, 1);
}

// Rows 10 and 11 of solid ground under open air, the rows above as given.
std::vector<std::string> OnGround(std::vector<std::string> rows, char ground = 'R')
{
    const size_t width = rows[0].size();
    while (rows.size() < 10)
        rows.insert(rows.begin(), std::string(width, '.'));
    rows.push_back(std::string(width, ground));
    rows.push_back(std::string(width, ground));
    return rows;
}

const std::string kSky(20, '.');

const RuleCase kCases[] = {
    // A cave under a rock ceiling with no back wall: the night sky shows in 8 columns
    // (the first two columns under the ceiling are the mouth's lip).
    {"cave without back wall",
     "interior-sky",
     {"..........RRRRRRRRRR", kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, std::string(20, 'R'),
      std::string(20, 'R')},
     1,
     12},
    {"cave with a back wall",
     "interior-sky",
     {"..........RRRRRRRRRR", "..........VVVVVVVVVV", "..........VVVVVVVVVV", "..........VVVVVVVVVV",
      "..........VVVVVVVVVV", "..........VVVVVVVVVV", "..........VVVVVVVVVV", "..........VVVVVVVVVV",
      "..........VVVVVVVVVV", "..........VVVVVVVVVV", std::string(20, 'R'), std::string(20, 'R')},
     0},
    {"overhang two columns deep",
     "interior-sky",
     {"..........RR........", kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, std::string(20, 'R'),
      std::string(20, 'R')},
     0},
    // A ring in a framed hole of a back wall, alone and beside an open cell of the same window.
    {"ring in a socket cut for it",
     "item-socket",
     {"RRRRRRRRRRRRRRRRRRRR", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVUVVVVVVVV", "VVVVVVVVVVrolVVVVVVV",
      "VVVVVVVVVVVTVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV",
      "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", std::string(20, 'R'), std::string(20, 'R')},
     1,
     11},
    {"ring in a window that is there anyway",
     "item-socket",
     {"RRRRRRRRRRRRRRRRRRRR", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVUUVVVVVVV", "VVVVVVVVVVro.lVVVVVV",
      "VVVVVVVVVVVTTVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV",
      "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", std::string(20, 'R'), std::string(20, 'R')},
     0},
    {"framed window in a wall",
     "interior-sky",
     {"RRRRRRRRRRRRRRRRRRRR", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVUUVVVVVVV", "VVVVVVVVVVro.lVVVVVV",
      "VVVVVVVVVVVTTVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV",
      "VVVVVVVVVVVVVVVVVVVV", "VVVVVVVVVVVVVVVVVVVV", std::string(20, 'R'), std::string(20, 'R')},
     0},
    // Hidden spikes at columns 12 to 14 and 17 (one run), with the sign in and out of reach.
    {"spikes without a sign", "danger-sign", OnGround({"............^^^..^.."}), 1, 12},
    {"sign four columns before", "danger-sign", OnGround({"........!...^^^..^.."}), 0},
    {"sign two columns before", "danger-sign", OnGround({"..........!.^^^....."}), 0},
    {"sign right before", "danger-sign", OnGround({"...........!^^^....."}), 1, 12},
    {"sign too far before", "danger-sign", OnGround({"...!........^^^....."}), 1, 12},
    {"two runs, one sign", "danger-sign", OnGround({"....!...^........^.."}), 1, 17},
    // What lies before hidden spikes: a pit, an explosive, a high step, a low step, flat ground.
    {"spikes after a pit",
     "spikes-after-jump",
     {kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, "............^.......", "RRRRRRRR..RRRRRRRRRR",
      "RRRRRRRR..RRRRRRRRRR"},
     1,
     12},
    {"spikes after an explosive", "spikes-after-jump", OnGround({".........X...^......"}), 1, 13},
    {"spikes where a jump over an explosive runs on", "spikes-after-jump", OnGround({"..X.........^......."}), 1, 12},
    {"spikes well after an explosive", "spikes-after-jump", OnGround({".X..........^......."}), 0},
    {"sign in view before the jump", "spikes-after-jump", OnGround({".....X..!...^......."}), 0},
    {"sign only in view in the air", "spikes-after-jump", OnGround({".....X...!..^......."}), 1, 12},
    {"spikes after a drop", "spikes-after-jump", OnGround({"..........R.........", "..........R..^......"}), 1, 13},
    {"spikes after a step", "spikes-after-jump", OnGround({"..........R..^......"}), 0},
    {"spikes on flat ground", "spikes-after-jump", OnGround({".......^............"}), 0},
    {"spikes after a drop onto a step",
     "spikes-after-jump",
     OnGround({".......R............", ".......R............", ".......RRR..^......."}),
     1,
     12},
    {"spikes after a stair down", "spikes-after-jump", OnGround({"......R.............", "......RR............", "......RRR...^......."}), 0},
    {"spikes far after a pit",
     "spikes-after-jump",
     {kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, "..................^.", "RRRRRR..RRRRRRRRRRRR",
      "RRRRRR..RRRRRRRRRRRR"},
     0},
    // Grass running on under raised ground, bare earth under the sky, holes in the ground.
    {"grass under raised ground", "broken-join", OnGround({".....###............", std::string(20, '#')}, 'e'), 3, 5},
    {"raised ground on earth", "broken-join", OnGround({".....###............", "#####eee############"}, 'e'), 0},
    {"bare earth under the sky", "broken-join", OnGround({"####eeee############"}, 'e'), 4, 4},
    {"hole in the bottom row",
     "broken-join",
     {kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky, "RRRRRRRRRRRRRRRRRRRR", "RRRRRR...RRRRRRRRRRR"},
     3,
     6},
    {"hole in the ground", "broken-join", OnGround({std::string(20, 'R'), "RRRRR.RRRRRRRRRRRRRR"}), 1, 5},
    {"gap in the ground the hero can use", "broken-join", OnGround({std::string(20, 'R'), "RRRRR..RRRRRRRRRRRRR"}), 0},
    // A screen two thirds rock, and one just under the limit; screens with one and two decorations.
    {"wallpaper screen", "wallpaper",
     OnGround({std::string(20, 'R'), std::string(20, 'R'), std::string(20, 'R'), std::string(20, 'R'),
               std::string(20, 'R'), std::string(20, 'R')}),
     1, 0},
    {"screen under the wallpaper limit", "wallpaper",
     OnGround({std::string(20, 'R'), std::string(20, 'R'), std::string(20, 'R'), std::string(20, 'R'),
               std::string(20, 'R')}),
     0},
    // Rock over columns 5 to 24 of a wider stage: two thirds of the view scrolled there.
    {"wallpaper between two screens", "wallpaper",
     OnGround({std::string(5, '.') + std::string(20, 'R') + std::string(5, '.'),
               std::string(5, '.') + std::string(20, 'R') + std::string(5, '.'),
               std::string(5, '.') + std::string(20, 'R') + std::string(5, '.'),
               std::string(5, '.') + std::string(20, 'R') + std::string(5, '.'),
               std::string(5, '.') + std::string(20, 'R') + std::string(5, '.'),
               std::string(5, '.') + std::string(20, 'R') + std::string(5, '.')}),
     1, 5},
    {"screen with one decoration", "decoration", OnGround({"......t............."}), 1, 0},
    {"screen with two decorations", "decoration", OnGround({"......t......t......"}), 0},
    // A MASKY walking left along the ground past tufts (front pieces): two side by side hide it,
    // one does not, and none it never reaches (a rock turns it back first); one that drops off a
    // ledge walks on below.
    {"enemy behind two front pieces", "hidden-enemy", OnGround({"...tt.....M........."}), 1, 3},
    {"enemy past one front piece", "hidden-enemy", OnGround({"...t.....t..M......."}), 0},
    {"front pieces the enemy never reaches", "hidden-enemy", OnGround({"..tt.R....M........."}), 0},
    {"enemy dropping to front pieces", "hidden-enemy", OnGround({"..........M.........", ".ttt......RR........"}), 1,
     1},
    // A WINGEDEYE flies on past tufts far behind it only once the hero has long gone.
    {"front pieces out of an enemy's reach", "hidden-enemy",
     OnGround({"tt" + std::string(38, '.') + "W" + std::string(19, '.')}), 0},
    // Scenery on the ground and over what cannot hold it: air, water, a keg, a crumbling floor.
    {"bush on the ground", "floating-decoration", OnGround({"......h............."}), 0},
    {"bush in the air", "floating-decoration", OnGround({"......h.............", kSky}), 1, 6},
    {"bush on water", "floating-decoration", OnGround({"......h.............", "....R~~~~R.........."}), 1, 6},
    {"flowers on a keg", "floating-decoration", OnGround({"......f.............", "......X............."}), 1, 6},
    {"bush on a crumbling floor", "floating-decoration", OnGround({"......h.............", "......c............."}), 1,
     6},
    // Tall pieces stand on their own lower piece; a floating one is reported at its foot.
    {"pine on the ground", "floating-decoration", OnGround({"......p.............", "......q............."}), 0},
    {"pine in the air", "floating-decoration", OnGround({"......p..p..........", "......q..q..........", kSky}), 2, 6},
    {"column on the ground", "floating-decoration",
     OnGround({"......7.............", "......|.............", "......_............."}), 0},
    // A column's pieces in order, a second top part way up and a column going on under its base.
    {"column in order", "stacked-column",
     OnGround({"......7.............", "......|.............", "......|.............", "......_............."}), 0},
    {"top under a top", "stacked-column", OnGround({"......7.............", "......7.............", "......_............."}),
     1, 6},
    {"column on a column", "stacked-column",
     OnGround({"......7.............", "......_.............", "......7.............", "......_............."}), 1,
     6},
    {"base over a shaft", "stacked-column", OnGround({"......7.............", "......_.............", "......|............."}),
     1, 6},
    // Hanging pieces: under rock, in the air, a chain from the top of the stage, a banner's bottom
    // under its top and alone.
    {"stalactite under rock",
     "floating-decoration",
     {std::string(20, 'R'), "......k.............", kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky,
      std::string(20, 'R'), std::string(20, 'R')},
     0},
    {"stalactite in the air", "floating-decoration", OnGround({"......k.............", kSky, kSky}), 1, 6},
    // A thin ledge's picture ends above its cell's bottom: what hangs under it shows a gap.
    {"stalactite under a thin ledge", "floating-decoration",
     OnGround({".....LLL............", "......k.............", kSky, kSky}), 1, 6},
    {"chain from the top of the stage",
     "floating-decoration",
     {"......j.............", "......j.............", kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky,
      std::string(20, 'R'), std::string(20, 'R')},
     0},
    {"banner under rock",
     "floating-decoration",
     {std::string(20, 'R'), "......y.............", "......z.............", kSky, kSky, kSky, kSky, kSky, kSky, kSky,
      std::string(20, 'R'), std::string(20, 'R')},
     0},
    {"banner's bottom alone",
     "floating-decoration",
     {std::string(20, 'R'), "......z.............", kSky, kSky, kSky, kSky, kSky, kSky, kSky, kSky,
      std::string(20, 'R'), std::string(20, 'R')},
     1,
     6},
    // A torch on a wall's face and in the open; wall-backed mushrooms on the floor and mid-wall.
    {"torch beside a wall", "floating-decoration", OnGround({".....Rn.............", ".....R.............."}), 0},
    {"torch in the open", "floating-decoration", OnGround({"......n.............", kSky}), 1, 6},
    {"wall mushrooms on the floor", "floating-decoration", OnGround({"VVVVVVmVVVVVVVVVVVVV"}), 0},
    {"wall mushrooms mid-wall", "floating-decoration", OnGround({"VVVVVVmVVVVVVVVVVVVV", std::string(20, 'V')}), 1, 6},
};

TEST(StageChecker, LookAndFairnessRules)
{
    for (const RuleCase& test : kCases) {
        SCOPED_TRACE(test.name);
        ASSERT_EQ(test.rows.size(), 12u);
        std::vector<int> topRowLines;
        int count = 0;
        for (const StageIssue& issue : Check(test.rows, topRowLines)) {
            if (issue.rule != test.rule)
                continue;
            if (count++ == 0 && test.firstColumn >= 0) {
                EXPECT_NE(issue.what.find("column " + std::to_string(test.firstColumn) + ","), std::string::npos)
                    << issue.what;
                EXPECT_GE(issue.line, topRowLines.at(test.firstColumn)) << issue.what;
            }
        }
        EXPECT_EQ(count, test.expected);
    }
}

// A map of twelve rows as the stage loader reads it.
std::vector<uint8_t> EncodeRows(const std::vector<std::string>& rows)
{
    std::string text = "map\n";
    for (const std::string& row : rows)
        text += row + "\n";
    StageMap map;
    std::string error;
    EXPECT_TRUE(CompileMapText(text, map, error)) << error;
    return EncodeStageMap(map);
}

// Stages for the dead-end search: the hero starts on the left, the door stands on the right;
// in between a crumbling bridge over a pit four rows deep (columns 12 to 18 of rows 6 to 10
// as given). With walls round the pit a hero who falls in can never get out; with stairs
// beside the bridge he climbs out.
std::vector<uint8_t> SearchStage(const std::vector<std::string>& pitRows)
{
    const std::string left = "############", right = "###########";
    const std::vector<std::string> rows = {
        "..............................", "..............................", "..............................",
        "..............................", "...........................DE.", "S....o.....................FG.",
        left + pitRows[0] + right,        left + pitRows[1] + right,        left + pitRows[2] + right,
        left + pitRows[3] + right,        left + pitRows[4] + right,        "##############################"};
    return EncodeRows(rows);
}

TEST(StageChecker, SearchFindsTheWalledPitUnderTheBridge)
{
    const ReachReport walled =
        SearchStandingPlaces(SearchStage({"#cccc##", "#....##", "#....##", "#....##", "#....##"}), 1);
    EXPECT_TRUE(walled.doorReached);
    EXPECT_FALSE(walled.budgetSpent);
    ASSERT_FALSE(walled.deadEnds.empty());
    for (const StandPlace& p : walled.deadEnds) {
        // Every dead end lies on the pit's floor, columns 13 to 16.
        EXPECT_GE(p.x, 13 * 16 - 8) << p.x;
        EXPECT_LE(p.x, 16 * 16 + 8) << p.x;
        EXPECT_EQ(p.y, 10 * 16) << p.x;
    }

    const ReachReport stepped =
        SearchStandingPlaces(SearchStage({"#cccc.#", "#.....#", "#....##", "#...###", "#...###"}), 1);
    EXPECT_TRUE(stepped.doorReached);
    EXPECT_FALSE(stepped.budgetSpent);
    EXPECT_TRUE(stepped.deadEnds.empty());
    EXPECT_GT(stepped.places, 10);
}

TEST(StageChecker, SearchStartsFromEveryRunAndTrustsOnlyFinishedOnes)
{
    // Both runs take a step and stand still a while, then walk on. The long one walks over the
    // bridge to the door. The short one stops on the bridge, falls into the walled pit and
    // rests on its floor with a view of its own: the places it adds lead nowhere, so they are
    // more dead ends, not ways out.
    const auto walk = [](int frames) {
        std::vector<uint32_t> run(kIntroFrames + 10, 0);
        run.insert(run.end(), 8, kButtonRight);
        run.insert(run.end(), 60, 0);
        run.insert(run.end(), frames, kButtonRight);
        run.insert(run.end(), 300, 0);
        return run;
    };
    const std::vector<uint8_t> map = SearchStage({"#cccc##", "#....##", "#....##", "#....##", "#....##"});
    const ReachReport through = SearchStandingPlaces(map, 1, {walk(400)});
    const ReachReport fallen = SearchStandingPlaces(map, 1, {walk(400), walk(96)});
    EXPECT_TRUE(fallen.doorReached);
    EXPECT_GT(through.finishRests, 0);
    EXPECT_GT(fallen.places, through.places);
    ASSERT_GT(fallen.deadEnds.size(), through.deadEnds.size());
    for (const StandPlace& p : fallen.deadEnds) {
        EXPECT_GE(p.x, 13 * 16 - 8) << p.x;
        EXPECT_LE(p.x, 16 * 16 + 8) << p.x;
        EXPECT_EQ(p.y, 10 * 16) << p.x;
    }
}

// High ground with a shaft at column 12 too deep to jump out of; FLOOR at its bottom (row
// 9), over spikes.
std::vector<uint8_t> ShaftStage(char floor)
{
    std::vector<std::string> rows(12, std::string(30, '#'));
    for (int r = 0; r < 4; ++r)
        rows[r] = std::string(30, '.');
    rows[3] = ".S.o..........................";
    for (int r = 4; r < 9; ++r)
        rows[r][12] = '.';
    rows[9][12] = floor;
    rows[10][12] = '^';
    rows[2].replace(26, 2, "DE");
    rows[3].replace(26, 2, "FG");
    return EncodeRows(rows);
}

TEST(StageChecker, SearchTakesADoomedHeroForNoDeadEnd)
{
    // On firm ground the shaft's bottom is a dead end; on a crumbling floor every move rests
    // there again until the floor goes and the spikes kill: doom is no dead end.
    const ReachReport firm = SearchStandingPlaces(ShaftStage('#'), 1);
    EXPECT_TRUE(firm.doorReached);
    ASSERT_FALSE(firm.deadEnds.empty());
    for (const StandPlace& p : firm.deadEnds) {
        EXPECT_EQ(p.x, 12 * 16);
        EXPECT_EQ(p.y, 8 * 16);
    }

    const ReachReport crumbling = SearchStandingPlaces(ShaftStage('c'), 1);
    EXPECT_TRUE(crumbling.doorReached);
    EXPECT_FALSE(crumbling.budgetSpent);
    for (const StandPlace& p : crumbling.deadEnds)
        ADD_FAILURE() << "dead end at x=" << p.x << " y=" << p.y;
}

// Flat ground with its top on row GROUND, the hero starting on it at the left and, when asked,
// an open door (no rings) on it at the right and a checkpoint on it at CHECKPOINT.
std::vector<uint8_t> FlatStage(int ground, bool door = false, int checkpoint = -1)
{
    std::vector<std::string> rows(12, std::string(30, '.'));
    for (int r = ground; r < 12; ++r)
        rows[r] = std::string(30, '#');
    rows[ground - 1][1] = 'S';
    if (checkpoint >= 0)
        rows[ground - 1][checkpoint] = 'C';
    if (door) {
        rows[ground - 2].replace(26, 2, "DE");
        rows[ground - 1].replace(26, 2, "FG");
    }
    return EncodeRows(rows);
}

TEST(StageChecker, FinishCountsTheFramesTheHeroSpendsAboveTheScreen)
{
    // A full jump: from the ground at row 10 it stays on screen, from the top row it rises out
    // of sight for a while and comes back.
    FinishScript script;
    std::string error;
    ASSERT_TRUE(ReadFinishScript("181 -\n24 J\n120 -\n", script, error)) << error;
    EXPECT_EQ(CheckFinish(FlatStage(10), 1, script).outOfSight, 0);
    const long high = CheckFinish(FlatStage(1), 1, script).outOfSight;
    EXPECT_GT(high, 10);
    EXPECT_LT(high, 100);
    // Rising 50 pixels from row 3, he peaks 2 pixels above the edge: still in sight.
    EXPECT_EQ(CheckFinish(FlatStage(4), 1, script).outOfSight, 0);

    // A run that finishes fails when the hero leaves the screen on the way, at the jump's line.
    ASSERT_TRUE(ReadFinishScript("181 -\n24 J\n120 -\n300 R\n", script, error)) << error;
    const FinishCheck low = CheckFinish(FlatStage(4, true), 1, script);
    EXPECT_TRUE(low.ok) << low.what;
    const FinishCheck unseen = CheckFinish(FlatStage(2, true), 1, script);
    EXPECT_FALSE(unseen.ok);
    EXPECT_EQ(unseen.line, 2);
    EXPECT_NE(unseen.what.find("[out-of-sight]"), std::string::npos) << unseen.what;
}

TEST(StageChecker, FinishLightsACheckpointOnTheWay)
{
    // A checkpoint in the hero's way lights as he walks to the door; one behind his start
    // never does, and the run fails.
    FinishScript script;
    std::string error;
    ASSERT_TRUE(ReadFinishScript("181 -\n300 R\n", script, error)) << error;
    const FinishCheck lit = CheckFinish(FlatStage(10, true, 12), 1, script);
    EXPECT_TRUE(lit.ok) << lit.what;
    const FinishCheck missed = CheckFinish(FlatStage(10, true, 0), 1, script);
    EXPECT_FALSE(missed.ok);
    EXPECT_NE(missed.what.find("[checkpoint-missed]"), std::string::npos) << missed.what;
}

// A crate before a wall (columns 18 to 21) on open ground; the door stands beyond the wall.
// Four rows high the wall is climbed only from the crate pushed against it, so a hero who
// jumps over the crate and pushes it back to the stage's left end can never climb it; two
// rows high he jumps it anyway.
std::vector<uint8_t> CrateStage(int wallRows)
{
    std::vector<std::string> rows(12, std::string(30, '.'));
    rows[9] = ".S.o..P.......................";
    rows[10] = rows[11] = std::string(30, '#');
    for (int r = 9; r > 9 - wallRows; --r)
        rows[r].replace(18, 4, "####");
    rows[8].replace(26, 2, "DE");
    rows[9].replace(26, 2, "FG");
    return EncodeRows(rows);
}

TEST(StageChecker, SearchTellsPlacesApartByTheCrate)
{
    // The same standing places with the crate ahead lead on, with the crate at the left end
    // they do not: the search sees both.
    const ReachReport high = SearchStandingPlaces(CrateStage(4), 1);
    EXPECT_TRUE(high.doorReached);
    EXPECT_FALSE(high.budgetSpent);
    ASSERT_FALSE(high.deadEnds.empty());
    for (const StandPlace& p : high.deadEnds)
        EXPECT_LT(p.x, 18 * 16) << p.x; // before the wall, never on it or beyond

    const ReachReport low = SearchStandingPlaces(CrateStage(2), 1);
    EXPECT_TRUE(low.doorReached);
    EXPECT_FALSE(low.budgetSpent);
    EXPECT_TRUE(low.deadEnds.empty());
}

} // namespace
