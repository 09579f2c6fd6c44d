// Whole sessions driven by scripted input: the title start, deaths, game over, quitting, test mode.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/replay_input.h"
#include "app/replay_script.h"
#include "assets/fonts.h"
#include "game/session.h"
#include "stage_harness.h"
#include "world/player.h"

using namespace stagetest;

namespace {

// What the observer saw.
struct Attempt {
    int stage;
    std::string how;
    int lives;
    int ringsLeft;
    int frames;
};
std::vector<Attempt> attempts;
int framesSeen = 0;
int stopAfterAttempts = 1;
int livesAtFirstFrame = 0; // when above 0, forced into the game on the first frame
int stopAtFrame = 40000;    // a runaway session must not hang the test

void AfterFrame(const Player&)
{
    ++framesSeen;
    if (framesSeen == 1 && livesAtFirstFrame > 0)
        world.lives = livesAtFirstFrame;
    if (framesSeen >= stopAtFrame)
        RequestSessionStop();
}

void AttemptEnded(const Player&, const char* how)
{
    attempts.push_back({game.stage, how, world.lives, world.ringsLeft, game.attemptFrame});
    if (static_cast<int>(attempts.size()) >= stopAfterAttempts)
        RequestSessionStop();
}

class SessionFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenHeadlessScreen();
        if (!SDL_WasInit(SDL_INIT_AUDIO)) {
            SDL_InitSubSystem(SDL_INIT_AUDIO);
            Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
        }
        const std::string data = std::string(FRIBB3_BINARY_DIR) + "/data/";
        OpenArchiveFile(ArchiveGfx, (data + "gfx.zda").c_str());
        OpenArchiveFile(ArchiveSound, (data + "sound.zda").c_str());
        OpenArchiveFile(ArchiveMusic, (data + "music.zda").c_str());
        UseBuiltMapsArchive();
        if (!smallFont)
            LoadFonts();
        ClearInput();
        attempts.clear();
        framesSeen = 0;
        stopAfterAttempts = 1;
        livesAtFirstFrame = 0;
        stopAtFrame = 40000;
        SessionObserver o;
        o.afterFrame = AfterFrame;
        o.attemptEnded = AttemptEnded;
        SetSessionObserver(&o);
    }
    void TearDown() override
    {
        StopReplayInput();
        SetSessionObserver(nullptr);
        ClearInput();
    }
    void Play(const std::string& scriptText, SessionStart start)
    {
        std::string error;
        ASSERT_TRUE(ParseReplayScript(scriptText, script, error)) << error;
        StartScriptedInput(&script);
        RunSessionFrom(start);
        StopReplayInput();
    }
    static SessionStart AtStage(int stage)
    {
        SessionStart s;
        s.stage = stage;
        return s;
    }

    ReplayScript script;
};

// The pause menu opened, the cursor moved up once to SUICIDE and confirmed.
const char* kSuicide = "200 -\n1 P\n1 -\n1 U\n1 -\n1 S\n1 -\n";

TEST_F(SessionFlow, ReleasingStartOnTheTitleStartsStageOne)
{
    stopAfterAttempts = 2;
    stopAtFrame = 100;
    Play("30 -\n1 S\n1 -\n400 -\n", SessionStart{});
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].stage, 0);
    EXPECT_EQ(attempts[0].how, "menu");
    EXPECT_EQ(attempts[0].frames, 32) << "the title ends in the frame of the release";
    EXPECT_EQ(attempts[1].stage, 1);
    EXPECT_EQ(attempts[1].how, "stopped");
    EXPECT_EQ(attempts[1].lives, 6);
}

TEST_F(SessionFlow, ADeathCostsALifeAndReplaysTheSameStage)
{
    stopAfterAttempts = 2;
    Play(std::string(kSuicide) + "2000 -\n" + kSuicide + "2000 -\n", AtStage(1));
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].how, "killed");
    EXPECT_EQ(attempts[0].lives, 6) << "seen before the dispatch takes the life";
    EXPECT_EQ(attempts[1].stage, 1);
    EXPECT_EQ(attempts[1].lives, 5);
    EXPECT_EQ(world.lives, 5);
}

TEST_F(SessionFlow, LosingTheLastLifeLeadsThroughGameOverToTheTitle)
{
    stopAfterAttempts = 2;
    livesAtFirstFrame = 1;
    stopAtFrame = 700;
    // The game over screen takes polls of the script until start is released.
    Play(std::string(kSuicide) + "400 -\n1 S\n1 -\n400 -\n", AtStage(1));
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].how, "killed");
    EXPECT_EQ(attempts[0].lives, 1);
    EXPECT_EQ(attempts[1].stage, 0) << "a new game on the title";
    EXPECT_EQ(attempts[1].lives, 6);
}

TEST_F(SessionFlow, ConfirmedQuitDuringPlayGoesBackToTheTitle)
{
    stopAfterAttempts = 2;
    stopAtFrame = 400;
    // Pause, cursor down to EXIT, confirm; then left answers yes.
    Play("200 -\n1 P\n1 -\n1 D\n1 -\n1 S\n1 -\n1 L\n1 -\n300 -\n", AtStage(1));
    ASSERT_EQ(attempts.size(), 2u);
    EXPECT_EQ(attempts[0].how, "quit");
    EXPECT_EQ(attempts[1].stage, 0);
    EXPECT_EQ(attempts[1].lives, 6);
}

TEST_F(SessionFlow, TestModeReturnsWhenTheStageIsFinished)
{
    StageBuilder map(30);
    map.Ground(10).Set(1, 9, 0x41);
    map.Set(4, 8, 0x1B).Set(5, 8, 0x1C).Set(4, 9, 0x2F).Set(5, 9, 0x30);
    const std::string path = TestFilePath(".bin");
    const std::vector<uint8_t> bytes = map.Bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    stopAfterAttempts = 99;
    SessionStart start;
    start.mapFile = path.c_str();
    Play("190 -\n100 R\n", start);
    ASSERT_EQ(attempts.size(), 1u) << "no second attempt after a finished test stage";
    EXPECT_EQ(attempts[0].how, "finished");
    EXPECT_EQ(attempts[0].stage, -1);
}

} // namespace
