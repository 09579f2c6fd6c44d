// fribb3-replay run as a child process: determinism, its working directory, failures, recording,
// and pictures of its screenshots checked by colour so that they survive changes of the art.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

#include "app/replay_script.h"
#include "platform/screenshot.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kReplayExe = std::string(FRIBB3_BINARY_DIR) + "/fribb3-replay";
const std::string kReplaySources = std::string(FRIBB3_SOURCE_DIR) + "/tests/replays/";
const std::string kTestMaps = std::string(FRIBB3_BINARY_DIR) + "/tests/replays/";
// The script that finishes stage 1 of the maps archive.
const std::string kStageOneScript = std::string(FRIBB3_SOURCE_DIR) + "/content/maps/fribb301-finish.replay";
// Archives whose stage 1 is the timeout test map and stage 2 the drown test map.
const std::string kTestStages = " --data " + kTestMaps + "data ";

using testsupport::CommandResult;
using testsupport::RunCommand;
using testsupport::ScratchDir; // a directory of its own for one test, removed afterwards

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Replay(const std::string& args)
{
    return "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + kReplayExe + " " + args;
}

// The key=value fields of the line that starts with `prefix` and has frame=`frame`
// (frame 0: the first line with that prefix).
std::map<std::string, std::string> Fields(const std::string& out, const std::string& prefix, long frame = 0)
{
    const std::regex field("([a-z]+)=(\"(?:[^\"\\\\]|\\\\.)*\"|\\S+)");
    size_t pos = 0;
    while (pos < out.size()) {
        size_t end = out.find('\n', pos);
        if (end == std::string::npos)
            end = out.size();
        const std::string line = out.substr(pos, end - pos);
        pos = end + 1;
        if (line.rfind(prefix + " ", 0) != 0)
            continue;
        std::map<std::string, std::string> f;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), field); it != std::sregex_iterator(); ++it)
            f[(*it)[1]] = (*it)[2];
        if (frame == 0 || f["frame"] == std::to_string(frame))
            return f;
    }
    return {};
}

int Int(const std::map<std::string, std::string>& f, const char* key)
{
    const auto it = f.find(key);
    return it == f.end() ? -99999 : std::atoi(it->second.c_str());
}

// A BMP written by --shot, loaded for reading pixels.
struct Shot {
    SDL_Surface* surface = nullptr;
    explicit Shot(const fs::path& path) : surface(SDL_LoadBMP(path.c_str())) {}
    ~Shot() { SDL_FreeSurface(surface); }
    void Rgb(int x, int y, uint8_t& r, uint8_t& g, uint8_t& b) const
    {
        r = g = b = 0;
        ReadSurfacePixel(surface, x, y, &r, &g, &b);
    }
};

// Pixels of one colour family along a bar's middle row, from the bar's left end.
enum class Shade { Bright, Dark };
// Channel levels telling full (255) from half (128) intensity and from black.
constexpr int kBrightLevel = 200;
constexpr int kDarkLevel = 96;
constexpr int kOtherChannelMax = 64;

// channel 0 counts reds, 2 counts blues.
int CountBar(const Shot& shot, int y, int channel, Shade shade)
{
    constexpr int kBarLeft = 64;
    constexpr int kBarWidth = 248;
    int count = 0;
    for (int x = kBarLeft; x < kBarLeft + kBarWidth; ++x) {
        uint8_t c[3];
        shot.Rgb(x, y, c[0], c[1], c[2]);
        const int v = c[channel];
        const bool othersDark = c[(channel + 1) % 3] < kOtherChannelMax && c[(channel + 2) % 3] < kOtherChannelMax;
        const bool bright = v >= kBrightLevel;
        const bool dark = v >= kDarkLevel && v < kBrightLevel;
        if (othersDark && (shade == Shade::Bright ? bright : dark))
            ++count;
    }
    return count;
}

// Mean brightness of the playfield, leaving out the band of the centred texts.
double PlayfieldBrightness(const Shot& shot)
{
    constexpr int kTextTop = 88;
    constexpr int kTextBottom = 136;
    double sum = 0;
    long n = 0;
    for (int y = 0; y < 192; ++y) {
        if (y >= kTextTop && y < kTextBottom)
            continue;
        for (int x = 0; x < 320; ++x) {
            uint8_t r, g, b;
            shot.Rgb(x, y, r, g, b);
            sum += r + g + b;
            ++n;
        }
    }
    return sum / n;
}

bool SameBox(const Shot& a, const Shot& b, int left, int top)
{
    for (int y = top; y < top + 16; ++y)
        for (int x = left; x < left + 16; ++x) {
            uint8_t ar, ag, ab, br, bg, bb;
            a.Rgb(x, y, ar, ag, ab);
            b.Rgb(x, y, br, bg, bb);
            if (ar != br || ag != bg || ab != bb)
                return false;
        }
    return true;
}

class ReplayTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(kReplayExe)) << kReplayExe;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(0), 0);
    }
    void TearDown() override { SDL_Quit(); }
    ScratchDir dir;
};

TEST_F(ReplayTool, SameScriptGivesByteIdenticalTracesAndPictures)
{
    const std::string script = kStageOneScript;
    // Pictures from the middle and the last frame of the run, however long the stage is.
    const int frames = Int(Fields(RunCommand(Replay("--stage 1 " + script)).output, "final"), "frame");
    ASSERT_GT(frames, 200);
    auto run = [&](const char* tag) {
        const fs::path a = dir / (std::string(tag) + "-a.bmp");
        const fs::path b = dir / (std::string(tag) + "-b.bmp");
        const CommandResult r = RunCommand(Replay("--stage 1 --trace --shot " + std::to_string(frames / 2) + ":" +
                                                  a.string() + " --shot " + std::to_string(frames) + ":" + b.string() +
                                                  " " + script));
        EXPECT_EQ(r.exitCode, 0);
        const std::string pictures = ReadFile(a) + ReadFile(b);
        EXPECT_GT(pictures.size(), 2u * 320 * 240) << "a screenshot is missing";
        return r.output + pictures;
    };
    const std::string first = run("one");
    const std::string second = run("two");
    EXPECT_GT(first.size(), static_cast<size_t>(frames) * 100); // a trace line per frame
    EXPECT_TRUE(first == second) << "two runs of the same script differ";
}

TEST_F(ReplayTool, TextMapPlaysExactlyLikeItsCompiledForm)
{
    const std::string script = kReplaySources + "stomp_skull.script";
    const CommandResult text = RunCommand(Replay("--trace --map " + kReplaySources + "stomp_skull.txt " + script));
    const CommandResult bin = RunCommand(Replay("--trace --map " + kTestMaps + "stomp_skull.bin " + script));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(bin.exitCode, 0);
    EXPECT_EQ(Fields(text.output, "final")["ended"], "finished");
    EXPECT_TRUE(text.output == bin.output);
}

TEST_F(ReplayTool, ScriptFromStandardInputAndFrameLimit)
{
    const CommandResult r = RunCommand("printf '181 -\\n30 R\\n' | " + Replay("--stage 1 --frames 211 -"));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto f = Fields(r.output, "final");
    EXPECT_EQ(f.at("ended"), "frames");
    EXPECT_EQ(Int(f, "frame"), 211);
    EXPECT_EQ(Int(f, "attempts"), 0);
    EXPECT_EQ(Int(f, "x"), 16 + 2 * 30); // 30 frames walking right at 2 pixels
}

TEST_F(ReplayTool, AttemptsCountDeathsAndLivesGoDownBetweenThem)
{
    const CommandResult r =
        RunCommand(Replay("--trace --attempts 2 --map " + kTestMaps + "killed_beetle.bin " + kReplaySources +
                     "killed_beetle.script"));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto f = Fields(r.output, "final");
    EXPECT_EQ(f.at("ended"), "killed");
    EXPECT_EQ(Int(f, "attempts"), 2);
    EXPECT_EQ(Int(f, "lives"), 5); // the second attempt starts after one life was lost
    EXPECT_EQ(Int(f, "aframe"), Int(f, "frame") / 2); // both attempts ran the same frames
}

TEST_F(ReplayTool, ScreenWaitingForInputThatNeverComesIsStopped)
{
    // Six deaths lead to the game-over screen, which waits for a confirm the
    // script never gives; the run still ends once that screen has used up its polls.
    const CommandResult r = RunCommand(Replay("--frames 3500 --attempts 10 --map " + kTestMaps + "killed_beetle.bin " +
                                              kReplaySources + "killed_beetle.script"));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const auto f = Fields(r.output, "final");
    EXPECT_EQ(f.at("ended"), "limit");
    EXPECT_EQ(Int(f, "attempts"), 6);
    EXPECT_LT(Int(f, "frame"), 3500);
}

TEST_F(ReplayTool, RunsInAFreshDirectoryThatIsRemovedAfterwards)
{
    const fs::path cwd = dir / "cwd";
    const fs::path tmp = dir / "tmp";
    fs::create_directories(cwd);
    fs::create_directories(tmp);
    const CommandResult r = RunCommand("cd " + cwd.string() + " && TMPDIR=" + tmp.string() + " " +
                                  Replay("--stage 1 --frames 5 --attempts 1 " + kStageOneScript));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(fs::is_empty(cwd));
    EXPECT_TRUE(fs::is_empty(tmp));

    const fs::path kept = dir / "kept";
    const CommandResult k = RunCommand(Replay("--workdir " + kept.string() + " --map " + kReplaySources + "rings.txt " +
                                         kReplaySources + "rings.script"));
    EXPECT_EQ(k.exitCode, 0) << k.output;
    EXPECT_TRUE(fs::is_directory(kept));
}

TEST_F(ReplayTool, MissingMapFailsLikeTestModeAndStillCleansUp)
{
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    const fs::path script = dir.Write("idle.script", "10 -\n");
    const CommandResult r = RunCommand("TMPDIR=" + tmp.string() + " " +
                                  Replay("--map " + (dir / "nothing.bin").string() + " " + script.string()));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output, "Can't load file: unknown\n");
    EXPECT_TRUE(fs::is_empty(tmp));
}

TEST_F(ReplayTool, BadScriptOrMapSourceIsAUsageError)
{
    const fs::path bad = dir.Write("bad.script", "10 X\n");
    EXPECT_EQ(RunCommand(Replay(bad.string() + " 2>/dev/null")).exitCode, 2);
    const fs::path map = dir.Write("bad.txt", "map\nonly one row\n");
    const fs::path script = dir.Write("ok.script", "1 -\n");
    EXPECT_EQ(RunCommand(Replay("--map " + map.string() + " " + script.string() + " 2>/dev/null")).exitCode, 2);
    EXPECT_EQ(RunCommand(Replay((dir / "missing.script").string() + " 2>/dev/null")).exitCode, 2);
    EXPECT_EQ(RunCommand(Replay("--frames 2>/dev/null")).exitCode, 2);
}

TEST_F(ReplayTool, RecordWritesAScriptOfEveryPoll)
{
    const fs::path out = dir / "rec.script";
    const CommandResult r = RunCommand(Replay("record " + out.string() + " --stage 1 --frames 12"));
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(Fields(r.output, "final")["ended"], "frames");
    ReplayScript script;
    std::string error;
    ASSERT_TRUE(ParseReplayScript(ReadFile(out), script, error)) << error;
    // Nobody pressed anything: one idle poll per frame.
    ASSERT_EQ(script.steps.size(), 1u);
    EXPECT_EQ(script.steps[0].buttons, 0u);
    EXPECT_EQ(script.steps[0].count, 12);
}

TEST_F(ReplayTool, HudBarsMeasureTheHurryTimerAndOxygen)
{
    const fs::path hurryShot = dir / "hurry.bmp";
    // Bars show in playable stages only, so the test maps are played as stages.
    const CommandResult t = RunCommand(Replay("--trace --frames 5000 --shot 5000:" + hurryShot.string() + kTestStages +
                                              "--stage 1 " + kReplaySources + "timeout.script"));
    ASSERT_EQ(t.exitCode, 0);
    const auto tf = Fields(t.output, "trace", 5000);
    const int hurry = Int(tf, "hurry");
    ASSERT_GT(hurry, 0);
    ASSERT_LT(hurry, 9000);
    const Shot hs(hurryShot);
    ASSERT_NE(hs.surface, nullptr);
    constexpr int kHurryRow = 200;
    constexpr int kOxygenRow = 210;
    const int red = hurry * 248 / 9000;
    EXPECT_EQ(CountBar(hs, kHurryRow, 0, Shade::Bright), red);
    EXPECT_EQ(CountBar(hs, kHurryRow, 0, Shade::Dark), 248 - red);
    EXPECT_EQ(Int(tf, "oxygen"), 620);
    EXPECT_EQ(CountBar(hs, kOxygenRow, 2, Shade::Bright), 248);
    EXPECT_EQ(CountBar(hs, kOxygenRow, 2, Shade::Dark), 0);

    // Under water the oxygen bar shrinks with the oxygen left.
    const fs::path airShot = dir / "air.bmp";
    const CommandResult d = RunCommand(Replay("--trace --frames 600 --shot 600:" + airShot.string() + kTestStages +
                                              "--stage 2 " + kReplaySources + "drown.script"));
    ASSERT_EQ(d.exitCode, 0);
    const int oxygen = Int(Fields(d.output, "trace", 600), "oxygen");
    ASSERT_GT(oxygen, 0);
    ASSERT_LT(oxygen, 620);
    const Shot as(airShot);
    ASSERT_NE(as.surface, nullptr);
    const int blue = oxygen * 248 / 620;
    EXPECT_EQ(CountBar(as, kOxygenRow, 2, Shade::Bright), blue);
    EXPECT_EQ(CountBar(as, kOxygenRow, 2, Shade::Dark), 248 - blue);
}

TEST_F(ReplayTool, IntroDimsThePlayfieldAndHidesTheHero)
{
    // Two maps alike but for the hero's start: on the ground, or on a ledge
    // above it. Nobody moves; the intro lasts 181 frames.
    const fs::path idle = dir.Write("idle.script", "# nothing pressed\n");
    auto shots = [&](const std::string& map, const std::string& tag) {
        const fs::path intro = dir / (tag + "-intro.bmp");
        const fs::path after = dir / (tag + "-after.bmp");
        const CommandResult r = RunCommand(Replay("--frames 200 --shot 100:" + intro.string() + " --shot 200:" +
                                             after.string() + " --map " + kTestMaps + map + " " + idle.string()));
        EXPECT_EQ(r.exitCode, 0);
        return std::make_pair(intro, after);
    };
    const auto ground = shots("rings.bin", "ground");
    const auto ledge = shots("hero_high.bin", "ledge");
    const Shot groundIntro(ground.first), groundAfter(ground.second);
    const Shot ledgeIntro(ledge.first), ledgeAfter(ledge.second);
    ASSERT_TRUE(groundIntro.surface && groundAfter.surface && ledgeIntro.surface && ledgeAfter.surface);

    const double ratio = PlayfieldBrightness(groundIntro) / PlayfieldBrightness(groundAfter);
    EXPECT_GT(ratio, 0.35);
    EXPECT_LT(ratio, 0.65);

    // The hero on the ground stands at (16, 144); the camera is at 0 in both.
    constexpr int kHeroX = 16;
    constexpr int kHeroY = 144;
    EXPECT_TRUE(SameBox(groundIntro, ledgeIntro, kHeroX, kHeroY)) << "hero drawn during the intro";
    EXPECT_FALSE(SameBox(groundAfter, ledgeAfter, kHeroX, kHeroY)) << "hero missing after the intro";
}

} // namespace
