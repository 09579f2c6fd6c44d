// fribb3-stagecheck: checks every stage map and its finishing script, and writes the stage table.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/stages.h"
#include "file_io.h"
#include "map_text.h"
#include "platform/input.h"
#include "stage_census.h"
#include "stage_chart.h"
#include "stage_reach.h"
#include "stage_rules.h"
#include "stage_runs.h"
#include "stage_table.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: fribb3-stagecheck [--table OUT.md] [--chart OUT.bmp] MAP_DIR MUSIC_DIR\n";
// The buttons that jump, and the chart's name as the table mentions it.
constexpr uint32_t kJumpButtons = kButtonJump | kButtonUp;
constexpr const char* kChartName = "difficulty.bmp";
// Dead ends listed per stage before the rest are only counted.
constexpr int kMaxDeadEnds = 12;
// Shifted runs per stage, and the input changes each one moves.
constexpr int kVariants = 40;
constexpr int kPlacesPerVariant = 2;
// Seeds the shifted runs of stage n with kSeedBase + n, so the table never changes by itself.
constexpr uint32_t kSeedBase = 1000;
// Stages a theme must dress, once all ten exist.
constexpr int kStagesPerTheme = 2;
constexpr size_t kMaxThemesPerStage = 2;

int problems = 0;

// A broken rule as file:line (file alone for the whole map or folder); any one fails the build.
void Problem(const fs::path& file, int line, const std::string& what)
{
    ++problems;
    if (line > 0)
        std::fprintf(stderr, "%s:%d: %s\n", file.string().c_str(), line, what.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", file.string().c_str(), what.c_str());
}


bool ReadText(const fs::path& path, std::string& text)
{
    std::string why;
    return ReadToolInput(path.string(), text, why);
}

// "line N: what" from the map compiler or the script reader, as file:line.
void ProblemFromError(const fs::path& file, const std::string& error)
{
    int line = 0;
    std::string what = error;
    if (std::sscanf(error.c_str(), "line %d:", &line) == 1)
        what = error.substr(error.find(':') + 2);
    Problem(file, line, what);
}

std::string StageName(int n)
{
    char name[24]; // room for any int, so the name is never cut
    std::snprintf(name, sizeof name, "fribb3%02d", n);
    return name;
}

// The title line of tune n ("N.name.tune" in the music folder).
std::string TuneTitle(const fs::path& musicDir, int n)
{
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(musicDir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(std::to_string(n) + ".", 0) != 0 || e.path().extension() != ".tune")
            continue;
        std::string text, line;
        ReadText(e.path(), text);
        std::istringstream in(text);
        while (std::getline(in, line))
            if (line.rfind("title ", 0) == 0)
                return line.substr(6);
    }
    return "?";
}

// Reports the places the hero can reach but never leave, one problem per run of them along a row.
void CheckDeadEnds(const fs::path& mapPath, const std::vector<uint8_t>& bytes, int n,
                   const std::vector<int>& topRowLines, const std::vector<std::vector<uint32_t>>& runs)
{
    const ReachReport reach = SearchStandingPlaces(bytes, n, runs);
    const auto flag = [&](int line, const std::string& what) {
        Problem(mapPath, line, what + " [dead-end]");
    };
    if (reach.budgetSpent) {
        flag(0, "the search for dead ends gave up after " + std::to_string(reach.places) + " places");
        return;
    }
    if (!reach.doorReached)
        flag(0, "no move from the start reaches the exit door");
    // One problem per run of dead-end cells along a row, however many ways they were reached.
    std::set<std::pair<int, int>> cells; // (row, column)
    std::set<int> liftColumns;
    for (const StandPlace& p : reach.deadEnds) {
        const int column = std::clamp((p.x + kCellSize / 2) / kCellSize, 0, static_cast<int>(topRowLines.size()) - 1);
        cells.insert({std::clamp(p.y / kCellSize, 0, kRows - 1), column});
        if (p.lift >= 0)
            liftColumns.insert(column);
    }
    int reported = 0;
    for (auto it = cells.begin(); it != cells.end();) {
        const auto [row, column] = *it;
        int last = column;
        bool lift = liftColumns.count(column) > 0;
        for (++it; it != cells.end() && it->first == row && it->second == last + 1; ++it) {
            last = it->second;
            lift = lift || liftColumns.count(last) > 0;
        }
        if (++reported > kMaxDeadEnds)
            continue;
        flag(topRowLines[column] + row,
             "column " + std::to_string(column) + ", row " + std::to_string(row) + ": the hero can get to " +
                 (column == last ? "this place" : "columns " + std::to_string(column) + " to " + std::to_string(last)) +
                 (lift ? " (on a lift)" : "") + " but from there never reaches the exit door (other than by dying)");
    }
    if (reported > kMaxDeadEnds)
        flag(0, std::to_string(reported - kMaxDeadEnds) + " more stretches of dead ends");
}

// Checks stage n; fills row and returns true when it exists and is whole enough to be counted.
bool CheckOne(const fs::path& mapDir, int n, StageRow& row)
{
    const fs::path mapPath = mapDir / (StageName(n) + ".txt");
    std::string text, error;
    if (!ReadText(mapPath, text)) {
        if (n == 0)
            Problem(mapPath, 0, "the title stage is missing");
        return false;
    }
    StageMap map;
    std::vector<int> topRowLines;
    if (!CompileMapText(text, map, error, &topRowLines)) {
        ProblemFromError(mapPath, error);
        return false;
    }
    for (const StageIssue& issue : CheckStage(map, topRowLines, n))
        Problem(mapPath, issue.line, issue.what);
    if (n == 0)
        return false;

    row.number = n;
    row.census = CountStage(map);
    if (row.census.themes.empty() || row.census.themes.size() > kMaxThemesPerStage)
        Problem(mapPath, 0,
                "a stage is dressed in one or two themes, this one in " + std::to_string(row.census.themes.size()));
    const std::vector<uint8_t> bytes = EncodeStageMap(map);
    const std::string waited = CheckSafeStart(bytes, n);
    if (!waited.empty())
        Problem(mapPath, 0, waited);

    const fs::path scriptPath = mapDir / (StageName(n) + "-finish.replay");
    FinishScript script;
    if (!ReadText(scriptPath, text)) {
        Problem(scriptPath, 0, "missing: every stage has a finishing script");
        CheckDeadEnds(mapPath, bytes, n, topRowLines, {});
        return true;
    }
    if (!ReadFinishScript(text, script, error)) {
        ProblemFromError(scriptPath, error);
        CheckDeadEnds(mapPath, bytes, n, topRowLines, {});
        return true;
    }
    // The places the finishing run and its shifted variants rest on are searched from, and
    // those of a run that ends in the door are known to lead on.
    std::vector<std::vector<uint32_t>> runs =
        ShiftedScripts(script.input, kVariants, kPlacesPerVariant, kSeedBase + n);
    row.tolerance = MeasureTolerance(bytes, n, runs);
    runs.insert(runs.begin(), script.input);
    CheckDeadEnds(mapPath, bytes, n, topRowLines, runs);
    const FinishCheck finish = CheckFinish(bytes, n, script);
    if (!finish.ok)
        Problem(scriptPath, finish.line, finish.what);
    row.finishFrames = finish.frames;
    row.outOfSight = finish.outOfSight;
    for (size_t f = 1; f < script.input.size(); ++f)
        row.jumps += (script.input[f] & kJumpButtons) && !(script.input[f - 1] & kJumpButtons);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    fs::path tablePath, chartPath;
    while (args.size() >= 2 && (args[0] == "--table" || args[0] == "--chart")) {
        (args[0] == "--table" ? tablePath : chartPath) = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const fs::path mapDir = args[0], musicDir = args[1];

    std::vector<StageRow> rows;
    bool seen[MechanicCount] = {};
    int stagesOfTheme[ThemeCount] = {};
    for (int n = 0; n <= kLastStage; ++n) {
        StageRow row;
        if (!CheckOne(mapDir, n, row))
            continue;
        row.music = TuneTitle(musicDir, n);
        for (int m = 0; m < MechanicCount; ++m) {
            if (row.census.has[m] && !seen[m])
                row.introduces.push_back(m);
            seen[m] = seen[m] || row.census.has[m];
        }
        for (int t : row.census.themes)
            ++stagesOfTheme[t];
        rows.push_back(row);
    }
    if (rows.size() == static_cast<size_t>(kLastStage)) {
        for (int t = 0; t < ThemeCount; ++t)
            if (stagesOfTheme[t] < kStagesPerTheme)
                Problem(mapDir, 0,
                        std::string("the ") + ThemeName(t) + " theme dresses " + std::to_string(stagesOfTheme[t]) +
                            " stages, fewer than two");
        for (int m = 0; m < MechanicCount; ++m) {
            if (!seen[m])
                Problem(mapDir, 0, std::string("no stage has ") + MechanicName(m));
            // The last stage brings everything together.
            if (!rows.back().census.has[m])
                Problem(mapDir / (StageName(kLastStage) + ".txt"), 0,
                        std::string("the last stage has no ") + MechanicName(m));
        }
    }
    if (problems > 0) {
        std::fprintf(stderr, "fribb3-stagecheck: %d problems\n", problems);
        return 1;
    }
    if (!chartPath.empty() && !WriteToolOutput(chartPath.string(), DrawDifficultyChart(rows))) {
        std::fprintf(stderr, "fribb3-stagecheck: cannot write %s\n", chartPath.c_str());
        return 1;
    }
    const std::string table = FormatStagesFile(rows, kPlacesPerVariant, kChartName);
    if (tablePath.empty()) {
        std::fputs(table.c_str(), stdout);
        return 0;
    }
    if (!WriteToolOutput(tablePath, table.data(), table.size())) {
        std::fprintf(stderr, "fribb3-stagecheck: cannot write %s\n", tablePath.c_str());
        return 1;
    }
    return 0;
}
