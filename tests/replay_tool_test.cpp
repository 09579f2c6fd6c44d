// fribb3-replay run as a child process: determinism, limits, its working directory, failures, recording and dumps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;
using testsupport::CommandResult;
using testsupport::RunCommand;

namespace {

const std::string kSources = std::string(FRIBB3_SOURCE_DIR) + "/tests/replays/";
const std::string kMaps = std::string(FRIBB3_BINARY_DIR) + "/tests/replays/";
const std::string kStageOneScript = std::string(FRIBB3_SOURCE_DIR) + "/content/maps/fribb301-finish.replay";

std::string Replay(const std::string& args)
{
    return "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + std::string(FRIBB3_BINARY_DIR) + "/fribb3-replay " + args;
}

// The value of key on the final line of out ("" when missing).
std::string Final(const std::string& out, const std::string& key)
{
    std::smatch m;
    const std::regex field("(^|\n)final .*\\b" + key + "=(\"[^\"]*\"|\\S+)");
    return std::regex_search(out, m, field) ? m[2].str() : "";
}

class ReplayTool : public ::testing::Test {
protected:
    testsupport::ScratchDir dir;
};

TEST_F(ReplayTool, SameScriptGivesByteIdenticalOutputAndPictures)
{
    auto run = [&](const std::string& tag) {
        const fs::path shot = dir / (tag + ".bmp");
        const CommandResult r =
            RunCommand(Replay("--stage 1 --trace --dump --shot 300:" + shot.string() + " " + kStageOneScript));
        EXPECT_EQ(r.exitCode, 0);
        const std::vector<uint8_t> picture = testsupport::ReadBytes(shot.string());
        EXPECT_GT(picture.size(), 320u * 240);
        return r.output + std::string(picture.begin(), picture.end());
    };
    const std::string first = run("one");
    EXPECT_EQ(Final(first, "ended"), "finished");
    EXPECT_TRUE(first == run("two")) << "two runs of the same script differ";
    // A text map plays exactly like its compiled form.
    const std::string script = kSources + "stomp_skull.script";
    EXPECT_EQ(RunCommand(Replay("--dump --map " + kSources + "stomp_skull.txt " + script)).output,
              RunCommand(Replay("--dump --map " + kMaps + "stomp_skull.bin " + script)).output);
}

TEST_F(ReplayTool, DumpsNameEveryRecordAndDiffFindsWhereTwoRunsPart)
{
    const std::string map = " --map " + kMaps + "stomp_masky.bin ";
    const CommandResult a =
        RunCommand(Replay("--dump" + map + kSources + "stomp_masky.script > " + (dir / "a").string()));
    const CommandResult b = RunCommand(Replay("--dump" + map + kSources + "rings.script > " + (dir / "b").string()));
    ASSERT_EQ(a.exitCode + b.exitCode, 0);
    const std::string dump = testsupport::ReadText((dir / "a").string()) + testsupport::ReadText((dir / "b").string());
    for (const char* record :
         {" game ", " world ", " hero ", " actor[0] ", " effect[0] ", " grid ", " sounds ", " picture "})
        EXPECT_NE(dump.find(record), std::string::npos) << record;
    EXPECT_NE(
        RunCommand(Replay("--dump --map " + kMaps + "lift.bin " + kSources + "lift.script")).output.find(" lift[0] "),
        std::string::npos);
    const CommandResult same = RunCommand(Replay("diff " + (dir / "a").string() + " " + (dir / "a").string()));
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(same.output, "no difference\n");
    const CommandResult differ = RunCommand(Replay("diff " + (dir / "a").string() + " " + (dir / "b").string()));
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.output, "frame 242: world.runRightLatch 0 -> 1\n");
}

TEST_F(ReplayTool, LimitsEndARunAndStandardInputIsAScript)
{
    // The hero walks 2 pixels a frame: thirty frames of right take him 60 pixels on from
    // wherever the stage starts him, so the test holds when the map moves the start.
    const CommandResult still = RunCommand("printf '181 -\\n' | " + Replay("--stage 1 --frames 181 -"));
    const CommandResult r = RunCommand("printf '181 -\\n30 R\\n' | " + Replay("--stage 1 --frames 211 -"));
    EXPECT_EQ(Final(still.output, "ended"), "frames");
    ASSERT_FALSE(Final(still.output, "x").empty());
    EXPECT_EQ(Final(r.output, "ended"), "frames");
    EXPECT_EQ(Final(r.output, "x"), std::to_string(std::stoi(Final(still.output, "x")) + 2 * 30));
    // Six deaths lead to the game-over screen, which waits for a confirm the
    // script never gives; the run still ends once that screen has used up its polls.
    const CommandResult over = RunCommand(Replay("--frames 3500 --attempts 10 --map " + kMaps + "killed_beetle.bin " +
                                                 kSources + "killed_beetle.script"));
    EXPECT_EQ(Final(over.output, "ended"), "limit");
    EXPECT_EQ(Final(over.output, "attempts"), "6");
}

TEST_F(ReplayTool, RunsInAFreshDirectoryRemovedAfterwardsWhateverHappens)
{
    const fs::path cwd = dir / "cwd", tmp = dir / "tmp", kept = dir / "kept";
    fs::create_directories(cwd);
    fs::create_directories(tmp);
    const std::string in = "cd " + cwd.string() + " && TMPDIR=" + tmp.string() + " ";
    EXPECT_EQ(RunCommand(in + Replay("--stage 1 --frames 5 " + kStageOneScript)).exitCode, 0);
    const fs::path idle = dir.Write("idle.script", "10 -\n");
    const CommandResult missing = RunCommand(in + Replay("--map nothing.bin " + idle.string()));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "Can't load file: unknown\n");
    EXPECT_TRUE(fs::is_empty(cwd));
    EXPECT_TRUE(fs::is_empty(tmp));
    EXPECT_EQ(RunCommand(Replay("--workdir " + kept.string() + " --frames 5 " + kStageOneScript)).exitCode, 0);
    EXPECT_TRUE(fs::is_directory(kept));
}

TEST_F(ReplayTool, BadInputsAreUsageErrorsAndRecordingWritesEveryPoll)
{
    const fs::path ok = dir.Write("ok.script", "1 -\n");
    const std::string bad[] = {dir.Write("bad.script", "10 X\n").string(), (dir / "missing.script").string(),
                               "--frames",
                               "--map " + dir.Write("bad.txt", "map\nonly one row\n").string() + " " + ok.string()};
    for (const std::string& args : bad)
        EXPECT_EQ(RunCommand(Replay(args + " 2>/dev/null")).exitCode, 2) << args;
    const fs::path out = dir / "rec.script";
    const CommandResult r = RunCommand(Replay("record " + out.string() + " --stage 1 --frames 12"));
    EXPECT_EQ(Final(r.output, "ended"), "frames");
    EXPECT_EQ(testsupport::ReadText(out.string()), "# recorded by fribb3-replay record\n12 -\n");
}

} // namespace
