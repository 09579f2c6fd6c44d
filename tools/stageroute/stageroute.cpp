// fribb3-stageroute: plays input scripts on the headless stage player and searches finishing scripts
// along a route plan, reusing the parts of an earlier script that still work.
#include <cstdio>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "file_io.h"
#include "map_text.h"
#include "route_plan.h"
#include "route_polish.h"
#include "route_search.h"
#include "stage_runs.h"
#include "stage_sim.h"
#include "tools/replay/replay_script.h"

namespace {

constexpr const char* kUsage = "usage: fribb3-stageroute play MAP.txt STAGE SCRIPT\n"
                               "       fribb3-stageroute search MAP.txt STAGE ROUTE OUT.replay\n"
                               "       fribb3-stageroute shifts MAP.txt STAGE SCRIPT\n"
                               "       fribb3-stageroute polish MAP.txt STAGE SCRIPT\n";
// Frames of the intro phase, which a script waits out with nothing held.
constexpr long kIntroFrames = 181;
// Times the search goes back to find another way through a goal.
constexpr int kMaxRetries = 4;
// Marks the start of a goal's input in a script the search writes.
constexpr const char* kGoalMark = "# > ";

// Reads a source file; on failure error says why.
bool ReadFile(const std::string& path, std::string& text, std::string& error)
{
    std::string why;
    if (ReadToolInput(path, text, why))
        return true;
    error = "cannot read: " + why;
    return false;
}

bool LoadMap(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::string error;
    const MapLoad load = LoadTextMap(path, bytes, error);
    if (load != MapLoad::Loaded) {
        std::fprintf(stderr, "%s: %s%s\n", path.c_str(), load == MapLoad::Unreadable ? "cannot read: " : "",
                     error.c_str());
        return false;
    }
    return true;
}

void PrintHero(const char* what)
{
    const Player& p = SimHero();
    std::printf("%s frame=%ld x=%d y=%d vy=%d rings=%d camera=%d dead=%d finished=%d status=\"%s\"\n", what,
                SimFrames(), p.x, p.y, p.vy, world.ringsLeft, world.cameraX, p.dead, p.finished, world.statusMessage);
}

int Play(const std::vector<uint8_t>& map, int stage, const std::string& scriptPath)
{
    std::string text, error;
    ReplayScript script;
    if (!ReadFile(scriptPath, text, error) || !ParseReplayScript(text, script, error)) {
        std::fprintf(stderr, "%s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }
    // The hero after each run of the script's lines between goal marks (or each line).
    StartSimStage(map, stage);
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    size_t step = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string body = line.substr(0, line.find('#'));
        long count = 0;
        std::istringstream w(body);
        if (!(w >> count))
            continue;
        const ReplayStep& s = script.steps[step++];
        for (long i = 0; i < s.count && !SimFinished() && !SimFailed(); ++i)
            StepSimFrame(s.buttons);
        const std::string where = "line " + std::to_string(number) + ":";
        PrintHero(where.c_str());
        if (SimFinished() || SimFailed())
            break;
    }
    for (long i = 0; i < 600 && !SimFinished() && !SimFailed(); ++i)
        StepSimFrame(0);
    PrintHero("end:");
    return SimFinished() && world.ringsLeft == 0 ? 0 : 1;
}

// The input of each goal in an earlier script, by the goal's text.
std::vector<std::pair<std::string, std::vector<uint32_t>>> EarlierSegments(const std::string& path)
{
    std::vector<std::pair<std::string, std::vector<uint32_t>>> segments;
    std::string text, error;
    if (!ReadFile(path, text, error))
        return segments; // no earlier script: everything is searched afresh
    std::istringstream in(text);
    std::string line;
    const std::string mark = kGoalMark;
    while (std::getline(in, line)) {
        if (line.rfind(mark, 0) == 0) {
            segments.push_back({line.substr(mark.size()), {}});
            continue;
        }
        if (segments.empty())
            continue;
        ReplayScript one;
        std::string error;
        if (ParseReplayScript(line, one, error))
            for (const ReplayStep& s : one.steps)
                segments.back().second.insert(segments.back().second.end(), static_cast<size_t>(s.count), s.buttons);
    }
    return segments;
}

bool Replays(const RouteGoal& goal, const std::vector<uint32_t>& input)
{
    const SimSnapshot start = TakeSimSnapshot();
    for (uint32_t b : input) {
        StepSimFrame(b);
        if (SimFailed())
            break;
    }
    if (GoalMet(goal))
        return true;
    RestoreSimSnapshot(start);
    return false;
}

int Search(const std::vector<uint8_t>& map, int stage, const std::string& routePath, const std::string& outPath)
{
    std::string text, error;
    std::vector<RouteGoal> goals;
    if (!ReadFile(routePath, text, error) || !ParseRoutePlan(text, goals, error)) {
        std::fprintf(stderr, "%s: %s\n", routePath.c_str(), error.c_str());
        return 2;
    }
    const auto earlier = EarlierSegments(outPath);
    StartSimStage(map, stage);
    for (long f = 0; f < kIntroFrames; ++f)
        StepSimFrame(0);

    std::string script = "# Plays stage " + std::to_string(stage) +
                         " from its first frame to the exit with every ring; made by fribb3-stageroute\n"
                         "# from " +
                         routePath.substr(routePath.find_last_of('/') + 1) + " (the goals below are its lines).\n" +
                         std::to_string(kIntroFrames) + " -\n";
    // Where each goal started, so that a goal that cannot be met sends the search
    // back to find another way through the goal before it.
    struct Step {
        SimSnapshot start;
        uint32_t last = 0;
        std::vector<SimSnapshot> perturbed;
        std::string segment;
        std::unordered_set<uint64_t> banned;
        int retries = 0;
    };
    std::vector<Step> steps(goals.size());
    bool reusing = true;
    uint32_t last = 0;
    std::vector<SimSnapshot> perturbed;
    for (size_t i = 0; i < goals.size();) {
        const RouteGoal& g = goals[i];
        Step& step = steps[i];
        step.start = TakeSimSnapshot();
        step.last = last;
        step.perturbed = perturbed;
        std::vector<uint32_t> input;
        double robustness = 1;
        const char* how = "searched";
        if (g.kind == RouteGoal::Hold) {
            input = g.input;
            AdvancePerturbed(last, perturbed, input);
            how = "held";
        } else if (reusing && i < earlier.size() && earlier[i].first == g.text && Replays(g, earlier[i].second)) {
            input = earlier[i].second;
            RestoreSimSnapshot(step.start);
            AdvancePerturbed(last, perturbed, input);
            how = "kept";
        } else {
            reusing = false;
            if (!SearchGoal(g, last, perturbed, input, robustness, error, step.banned)) {
                std::fprintf(stderr, "%s:%d: %s: %s\n", routePath.c_str(), g.line, g.text.c_str(), error.c_str());
                if (i > 0 && goals[i - 1].kind != RouteGoal::Hold && steps[i - 1].retries < kMaxRetries) {
                    // Another way through the goal before, not ending where this one did.
                    Step& back = steps[i - 1];
                    back.banned.insert(SnapshotKey(step.start));
                    ++back.retries;
                    step.banned.clear();
                    step.retries = 0;
                    --i;
                    RestoreSimSnapshot(back.start);
                    last = back.last;
                    perturbed = back.perturbed;
                    std::fprintf(stderr, "back to %s\n", goals[i].text.c_str());
                    continue;
                }
                PrintHero("stuck at");
                // What was found so far, to look at where the hero got stuck.
                std::string partial = script;
                for (size_t k = 0; k < i; ++k)
                    partial += steps[k].segment;
                WriteToolOutput(outPath + ".partial", partial.data(), partial.size());
                return 1;
            }
        }
        if (g.kind != RouteGoal::Hold && !(i < earlier.size() && earlier[i].first == g.text))
            reusing = false;
        if (SimFailed()) {
            std::fprintf(stderr, "%s:%d: the hero fails during %s\n", routePath.c_str(), g.line, g.text.c_str());
            return 1;
        }
        if (!input.empty())
            last = input.back();
        std::fprintf(stderr, "%-28s %-8s %5zu frames, shifts kept %3.0f%%, at x=%d y=%d frame %ld, %zu perturbed\n",
                     g.text.c_str(), how, input.size(), robustness * 100, SimHero().x, SimHero().y, SimFrames(),
                     perturbed.size());
        step.segment = kGoalMark + g.text + "\n" + FormatReplayScript(input);
        ++i;
    }
    for (const Step& s : steps)
        script += s.segment;
    if (!WriteToolOutput(outPath, script.data(), script.size())) {
        std::fprintf(stderr, "fribb3-stageroute: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::fprintf(stderr, "wrote %s: %ld frames, rings left %d, finished %d\n", outPath.c_str(), SimFrames(),
                 world.ringsLeft, SimFinished() ? 1 : 0);
    return SimFinished() ? 0 : 1;
}

// Every input change of the script moved one or two frames either way, one at a
// time: prints the ones after which the stage is no longer finished.
int Shifts(const std::vector<uint8_t>& map, int stage, const std::string& scriptPath)
{
    std::string text, error;
    FinishScript script;
    if (!ReadFile(scriptPath, text, error) || !ReadFinishScript(text, script, error)) {
        std::fprintf(stderr, "%s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }
    int tried = 0, kept = 0;
    for (size_t i = kIntroFrames + 1; i < script.input.size(); ++i) {
        if (script.input[i] == script.input[i - 1])
            continue;
        for (int d : {-2, -1, 1, 2}) {
            std::vector<uint32_t> v = script.input;
            if (d > 0)
                for (size_t k = i; k < i + d && k < v.size(); ++k)
                    v[k] = script.input[i - 1];
            else
                for (size_t k = i + d; k < i; ++k)
                    v[k] = script.input[i];
            v.insert(v.end(), 60, v.back());
            const SimOutcome o = PlaySimRun(map, stage, v, 0);
            ++tried;
            if (o.finished && !o.failed && o.ringsLeft == 0) {
                ++kept;
                continue;
            }
            std::printf("line %d (frame %zu) %+d: %s at frame %ld, hero x=%d y=%d, rings left %d\n", script.lineOf[i],
                        i, d, o.failed ? o.status.c_str() : "not finished", o.frames, SimHero().x, SimHero().y,
                        o.ringsLeft);
        }
    }
    std::printf("%d of %d single shifts still finish\n", kept, tried);
    return 0;
}

// Rewrites a finishing script so that more of its shifted runs finish; the goal
// marks stay at the frames they were at.
int Polish(const std::vector<uint8_t>& map, int stage, const std::string& scriptPath)
{
    std::string text, error;
    FinishScript script;
    if (!ReadFile(scriptPath, text, error) || !ReadFinishScript(text, script, error)) {
        std::fprintf(stderr, "%s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }
    const ShiftCount before = CountKeptShifts(map, stage, script.input);
    std::vector<uint32_t> input = script.input;
    const ShiftCount after = PolishInput(map, stage, input, kMaxFinishFrames);
    std::fprintf(stderr, "shifts kept: %d of %d before, %d of %d after\n", before.kept, before.tried, after.kept,
                 after.tried);
    // The marks and comments before each run of frames, kept at the same frame.
    std::vector<std::pair<long, std::string>> marks;
    std::istringstream lines(text);
    std::string line;
    long frame = 0;
    while (std::getline(lines, line)) {
        const std::string body = line.substr(0, line.find('#'));
        long count = 0;
        std::istringstream w(body);
        if (w >> count)
            frame += count;
        else if (!line.empty())
            marks.push_back({frame, line});
    }
    std::string out;
    size_t m = 0;
    long start = 0;
    auto flushUntil = [&](long end) {
        if (end > start) {
            out += FormatReplayScript(std::vector<uint32_t>(input.begin() + start, input.begin() + end));
            start = end;
        }
    };
    for (; m < marks.size(); ++m) {
        flushUntil(std::min<long>(marks[m].first, static_cast<long>(input.size())));
        out += marks[m].second + "\n";
    }
    flushUntil(static_cast<long>(input.size()));
    if (!WriteToolOutput(scriptPath, out.data(), out.size())) {
        std::fprintf(stderr, "fribb3-stageroute: cannot write %s\n", scriptPath.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<uint8_t> map;
    if (args.size() == 4 && args[0] == "play") {
        if (!LoadMap(args[1], map))
            return 2;
        return Play(map, std::atoi(args[2].c_str()), args[3]);
    }
    if (args.size() == 5 && args[0] == "search") {
        if (!LoadMap(args[1], map))
            return 2;
        return Search(map, std::atoi(args[2].c_str()), args[3], args[4]);
    }
    if (args.size() == 4 && args[0] == "polish") {
        if (!LoadMap(args[1], map))
            return 2;
        return Polish(map, std::atoi(args[2].c_str()), args[3]);
    }
    if (args.size() == 4 && args[0] == "shifts") {
        if (!LoadMap(args[1], map))
            return 2;
        return Shifts(map, std::atoi(args[2].c_str()), args[3]);
    }
    std::fputs(kUsage, stderr);
    return 2;
}
