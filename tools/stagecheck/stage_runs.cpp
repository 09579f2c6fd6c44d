// Finishing, waiting and shifted runs of a stage on the headless stage player.
#include "stage_runs.h"

#include <algorithm>
#include <random>
#include <sstream>

#include "stage_sim.h"
#include "tools/replay/replay_script.h"
#include "world/level_map.h"
#include "world/world_state.h"

namespace {

// Frames a shifted variant may run on past its script, holding its last buttons.
constexpr long kVariantTail = 60;
// The largest shift, in frames, either way.
constexpr int kMaxShift = 2;

// True when the stage as loaded holds an unlit checkpoint.
bool HoldsCheckpoint()
{
    for (TileCode code : levelMap.live)
        if (code == tile::Checkpoint)
            return true;
    return false;
}

bool Finished(const SimOutcome& o)
{
    return o.finished && !o.failed && o.ringsLeft == 0;
}

} // namespace

bool ReadFinishScript(const std::string& text, FinishScript& script, std::string& error)
{
    script = FinishScript{};
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        ReplayScript one;
        if (!ParseReplayScript(line, one, error)) {
            error = "line " + std::to_string(number) + ": " + error;
            return false;
        }
        for (const ReplayStep& s : one.steps) {
            if (s.buttons & ~(0x08u | 0x10u | 0x20u | 0x40u | 0x80u)) {
                error = "line " + std::to_string(number) + ": a finishing script holds only L R U D J";
                return false;
            }
            script.input.insert(script.input.end(), static_cast<size_t>(s.count), s.buttons);
            script.lineOf.insert(script.lineOf.end(), static_cast<size_t>(s.count), number);
        }
    }
    return true;
}

FinishCheck CheckFinish(const std::vector<uint8_t>& map, int stage, const FinishScript& script)
{
    FinishCheck c;
    StartSimStage(map, stage);
    const bool checkpoint = HoldsCheckpoint();
    // Each stretch out of sight as "frames F1-F2 over columns C1-C2", for the message.
    int firstUnseenLine = 0;
    std::string stretches;
    long stretchStart = -1, lastUnseen = -2;
    int fromColumn = 0, toColumn = 0;
    auto closeStretch = [&] {
        if (stretchStart < 0)
            return;
        stretches += (stretches.empty() ? "" : ", ") + std::string("frames ") + std::to_string(stretchStart) + "-" +
                     std::to_string(lastUnseen) + " over columns " + std::to_string(fromColumn) + "-" +
                     std::to_string(toColumn);
        stretchStart = -1;
    };
    for (size_t f = 0; f < script.input.size() && !SimFinished() && !SimFailed(); ++f) {
        StepSimFrame(script.input[f]);
        c.line = script.lineOf[f];
        if (SimHero().y >= -kOutOfSightPixels)
            continue;
        if (c.outOfSight++ == 0)
            firstUnseenLine = c.line;
        const long frame = SimFrames();
        const int column = SimHero().x / kCellSize;
        if (frame != lastUnseen + 1) {
            closeStretch();
            stretchStart = frame;
            fromColumn = toColumn = column;
        }
        fromColumn = std::min(fromColumn, column);
        toColumn = std::max(toColumn, column);
        lastUnseen = frame;
    }
    closeStretch();
    c.frames = SimFrames();
    const Player& p = SimHero();
    const std::string where =
        " at frame " + std::to_string(c.frames) + ", x " + std::to_string(p.x) + ", y " + std::to_string(p.y);
    if (SimFailed())
        c.what = "the hero is lost (\"" + std::string(world.statusMessage) + "\")" + where;
    else if (!SimFinished())
        c.what = "the script ends before the exit" + where + ", " + std::to_string(world.ringsLeft) + " rings left";
    else if (world.ringsLeft != 0)
        c.what = "the hero leaves with " + std::to_string(world.ringsLeft) + " rings left";
    else if (c.frames > kMaxFinishFrames)
        c.what =
            "the finish takes " + std::to_string(c.frames) + " frames, more than " + std::to_string(kMaxFinishFrames);
    else if (c.outOfSight > 0) {
        c.line = firstUnseenLine;
        c.what = "the hero is above the top of the screen, where the player cannot see him, for " +
                 std::to_string(c.outOfSight) + " frames (" + stretches + ") [out-of-sight]";
    } else if (checkpoint && !world.checkpointTaken) {
        // A checkpoint the way passes by restarts no one: the player replays all before it.
        c.what = "the hero lights no checkpoint on the way; put one where every path crosses [checkpoint-missed]";
    } else
        c.ok = true;
    return c;
}

std::string CheckSafeStart(const std::vector<uint8_t>& map, int stage)
{
    const SimOutcome o = PlaySimRun(map, stage, {}, kIntroFrames + kSafeWaitFrames);
    if (!o.failed)
        return "";
    return "a hero who waits at the start is lost after " + std::to_string(o.frames - kIntroFrames) + " frames (\"" +
           o.status + "\")";
}

std::vector<std::vector<uint32_t>> ShiftedScripts(const std::vector<uint32_t>& input, int variants, int places,
                                                  uint32_t seed)
{
    std::vector<size_t> changes;
    for (size_t i = kIntroFrames + 1; i < input.size(); ++i)
        if (input[i] != input[i - 1])
            changes.push_back(i);
    std::vector<std::vector<uint32_t>> out;
    if (changes.empty())
        return out;
    std::mt19937 random(seed);
    for (int v = 0; v < variants; ++v) {
        std::vector<uint32_t> shifted = input;
        for (int p = 0; p < places; ++p) {
            const size_t at = changes[random() % changes.size()];
            const int amount = static_cast<int>(random() % (2 * kMaxShift)) - kMaxShift; // -2..1
            const int shift = amount >= 0 ? amount + 1 : amount;                         // -2, -1, 1, 2
            // Later: the old buttons go on; earlier: the new buttons start sooner.
            if (shift > 0)
                for (size_t k = at; k < at + shift && k < shifted.size(); ++k)
                    shifted[k] = input[at - 1];
            else
                for (size_t k = at + shift; k < at; ++k)
                    shifted[k] = input[at];
        }
        shifted.insert(shifted.end(), kVariantTail, shifted.back());
        out.push_back(std::move(shifted));
    }
    return out;
}

Tolerance MeasureTolerance(const std::vector<uint8_t>& map, int stage, const std::vector<std::vector<uint32_t>>& runs)
{
    Tolerance t;
    for (const std::vector<uint32_t>& run : runs) {
        ++t.tried;
        if (Finished(PlaySimRun(map, stage, run, 0)))
            ++t.kept;
    }
    return t;
}
