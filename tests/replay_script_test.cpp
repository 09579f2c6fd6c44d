// Replay scripts: parsing, per-poll lookup, writing, and playback through the real event pump.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/settings.h"
#include "game/play_input.h"
#include "platform/input.h"
#include "test_keys.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_script.h"

TEST(ReplayScript, ParsesCountsButtonsAndComments)
{
    ReplayScript s;
    std::string err;
    ASSERT_TRUE(
        ParseReplayScript("# walk right, then jump\n10 R\n\n3 rj  # lower case too\n2 -\n0 S\n1 LUDSP\n", s, err))
        << err;
    ASSERT_EQ(s.steps.size(), 4u); // the zero-length run is dropped
    EXPECT_EQ(s.steps[0].count, 10);
    EXPECT_EQ(s.steps[0].buttons, kButtonRight);
    EXPECT_EQ(s.steps[1].buttons, kButtonRight | kButtonJump);
    EXPECT_EQ(s.steps[2].buttons, 0u);
    EXPECT_EQ(s.steps[3].buttons, kButtonLeft | kButtonUp | kButtonDown | kButtonStart | kButtonPause);
    EXPECT_EQ(ScriptLength(s), 16);
}

TEST(ReplayScript, RejectsMalformedLinesNamingTheLine)
{
    ReplayScript s;
    std::string err;
    EXPECT_FALSE(ParseReplayScript("10 R\n5 X\n", s, err));
    EXPECT_NE(err.find("line 2"), std::string::npos);
    EXPECT_FALSE(ParseReplayScript("R 10\n", s, err));
    EXPECT_FALSE(ParseReplayScript("-3 R\n", s, err));
    EXPECT_FALSE(ParseReplayScript("4\n", s, err));
    EXPECT_FALSE(ParseReplayScript("4 R J\n", s, err));
    EXPECT_FALSE(ParseReplayScript("4x R\n", s, err));
    // Counts that would overflow a sum of polls.
    EXPECT_TRUE(ParseReplayScript("1000000000 R\n", s, err));
    for (const char* big : {"1000000001 R\n", "99999999999999999999 R\n"}) {
        EXPECT_FALSE(ParseReplayScript(big, s, err));
        EXPECT_EQ(err, "line 1: count above 1000000000");
    }
}

TEST(ReplayScript, HighestPadButtonSeesEveryButton)
{
    ReplayScript s;
    std::string err;
    for (auto [text, highest] : {std::pair{"1 R\n", -1}, {"1 {pad0}\n", 0}, {"2 {pad31}\n1 {pad3}{pad30}\n", 31}}) {
        ASSERT_TRUE(ParseReplayScript(text, s, err)) << err;
        EXPECT_EQ(HighestPadButton(s), highest) << text;
    }
}

class ReplayPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(320, 240, 16, 0), nullptr) << SDL_GetError();
        settings = Settings{};
        input = InputState{};
        playerControls = PlayerControls{};
    }
    void TearDown() override
    {
        StopReplayInput();
        SDL_Quit();
    }
};

TEST_F(ReplayPlayback, ScriptedButtonsArriveAsHeldAndReleasedInput)
{
    ReplayScript s;
    std::string err;
    ASSERT_TRUE(ParseReplayScript("2 R\n1 RJ\n1 L\n1 -\n", s, err));
    StartScriptedInput(&s);

    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.released, 0u);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight | kButtonJump);
    PumpEvents(); // right and jump go up, left goes down
    EXPECT_EQ(input.held, kButtonLeft);
    EXPECT_NE(input.released, 0u);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonLeft);
    EXPECT_EQ(ReplayPollCount(), 5);
}

int guardCalls = 0;

TEST_F(ReplayPlayback, PollGuardCountsOnlyPollsSinceTheLastStageFrame)
{
    ReplayScript s;
    StartScriptedInput(&s);
    guardCalls = 0;
    SetReplayPollLimit(3, [] { ++guardCalls; });
    for (int screen = 0; screen < 4; ++screen) {
        PumpEvents();
        PumpEvents();
        NoteStageFrame();
    }
    EXPECT_EQ(guardCalls, 0) << "eight polls, but never three in a row without a stage frame";
    for (int i = 0; i < 5; ++i)
        PumpEvents();
    EXPECT_EQ(guardCalls, 1);
    SetReplayPollLimit(0, nullptr);
}
