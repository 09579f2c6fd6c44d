// The event pump and the game's reading of it, driven by events pushed into SDL's queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <unistd.h>
#include <vector>

#include "core/settings.h"
#include "game/game_state.h"
#include "game/play_input.h"
#include "platform/input.h"
#include "test_keys.h"

namespace {

// Default bindings and devices, as events.
enum Kind { Key, Pad, Hat, Axis, Quit };
struct Event {
    Kind kind;
    int a = 0; // key symbol, pad button, hat value or axis
    int b = 0; // down (1) or up (0) for keys and buttons, the value for axes
};
constexpr int kLeft = 276, kRight = 275, kUp = 273, kJump = 32, kStart = 13, kEscape = 27, kOther = 97;
constexpr int kHatUp = 1, kHatRight = 2, kHatLeft = 8;
constexpr int kStickMin = -32768, kStickMax = 32767;

void Push(const Event& ev)
{
    SDL_Event e{};
    switch (ev.kind) {
    case Key:
        ASSERT_EQ(testsupport::PushKeyEvent(ev.a, ev.b != 0), 0);
        return;
    case Pad:
        e.type = ev.b ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
        e.jbutton.button = static_cast<Uint8>(ev.a);
        e.jbutton.state = ev.b ? SDL_PRESSED : SDL_RELEASED;
        break;
    case Hat:
        e.type = SDL_JOYHATMOTION;
        e.jhat.value = static_cast<Uint8>(ev.a);
        break;
    case Axis:
        e.type = SDL_JOYAXISMOTION;
        e.jaxis.axis = static_cast<Uint8>(ev.a);
        e.jaxis.value = static_cast<Sint16>(ev.b);
        break;
    case Quit:
        e.type = SDL_QUIT;
        break;
    }
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(320, 240, 16, 0), nullptr) << SDL_GetError();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        } // whatever opening the window queued
        settings = Settings{};
        input = InputState{};
        playerControls = PlayerControls{};
        game = GameState{};
    }
    void TearDown() override
    {
        SetPumpHook(nullptr);
        SDL_Quit();
    }
};

TEST_F(Input, EachPumpGivesTheHeldButtonsAndTheLastRelease)
{
    struct Step {
        std::vector<Event> events;
        uint32_t held, released;
    };
    const Step steps[] = {
        {{{Key, kLeft, 1}}, kButtonLeft, 0},
        {{{Key, kRight, 1}}, kButtonRight, 0},          // opposite directions exclude each other
        {{{Key, kLeft, 0}}, kButtonRight, kButtonLeft}, // a release is reported even when not held
        {{{Key, kRight, 0}, {Key, kJump, 1}, {Key, kStart, 1}}, kButtonJump | kButtonStart, kButtonRight},
        {{{Key, kJump, 0}, {Key, kStart, 0}}, 0, kButtonStart}, // the last release of the pump
        {{{Key, kOther, 1}, {Key, kOther, 0}}, 0, 0},
        {{{Pad, 0, 1}, {Pad, 7, 1}}, kButtonJump | kButtonStart, 0},
        {{{Pad, 0, 0}, {Pad, 7, 0}, {Pad, 3, 1}}, kButtonPause, kButtonStart},
        {{{Pad, 3, 0}, {Hat, kHatUp | kHatRight}}, kButtonUp | kButtonRight, kButtonPause},
        {{{Hat, kHatUp}}, kButtonUp | kButtonRight, 0}, // a hat move keeps the other axis
        {{{Hat, 0}}, 0, kButtonRight},                  // centring releases both, reporting the later
        {{{Hat, kHatLeft}, {Axis, 0, kStickMax}}, kButtonRight, 0},
        {{{Axis, 0, 0}, {Axis, 1, kStickMin}}, kButtonUp, kButtonRight},
        {{{Axis, 1, kStickMax}}, kButtonDown, 0},
        {{{Axis, 1, -31000}}, 0, kButtonDown}, // the threshold itself counts as centred
    };
    int n = 0;
    for (const Step& s : steps) {
        for (const Event& e : s.events)
            Push(e);
        PumpEvents();
        EXPECT_EQ(input.held, s.held) << "step " << n;
        EXPECT_EQ(input.released, s.released) << "step " << n;
        ++n;
    }
    EXPECT_EQ(input.quitRequest, 0);
}

TEST_F(Input, StickUpJumpsOnlyWhileJumpHasNoPadButton)
{
    settings.pad[ActionJump] = -1;
    Push({Axis, 1, kStickMin});
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp | kButtonJump);
    Push({Axis, 1, 0});
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonJump);
    // An unbound hat direction matches no hat position.
    settings.pad[ActionUp] = -1;
    Push({Hat, kHatUp});
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
}

TEST_F(Input, QuitLastDeviceAndThePumpHook)
{
    Push({Key, kEscape, 1});
    Push({Key, kEscape, 0});
    PumpEvents();
    EXPECT_EQ(input.quitRequest, 1);
    EXPECT_EQ(input.released, 0u);
    input.quitRequest = 0;
    Push({Quit});
    PumpEvents();
    EXPECT_EQ(input.quitRequest, 1);
    Push({Key, kUp, 1});
    PumpEvents();
    EXPECT_EQ(input.lastKey, kUp);
    EXPECT_EQ(input.lastPadButton, -1);
    Push({Pad, 5, 1});
    PumpEvents();
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastPadButton, 5);
    SetPumpHook([] { testsupport::PushKeyEvent(kJump, true); });
    PumpEvents();
    EXPECT_EQ(input.held & kButtonJump, kButtonJump) << "the hook's events are read in the same pump";
}

TEST_F(Input, PollInputGivesControlsTheQuitFlagAndThePauseTrigger)
{
    Push({Key, kRight, 1});
    Push({Key, kUp, 1});
    PollInput(1, 1);
    EXPECT_EQ(playerControls.right, 1);
    EXPECT_EQ(playerControls.jump, 1);
    EXPECT_EQ(playerControls.left + playerControls.down + playerControls.start, 0);
    Push({Key, kRight, 0});
    Push({Key, kUp, 0});
    Push({Quit});
    PollInput(1, 1);
    EXPECT_EQ(playerControls.right + playerControls.jump, 0);
    EXPECT_EQ(game.quitPending, 1);
    struct Case {
        int stage, allow, paused, key, opens;
    };
    const Case cases[] = {{1, 1, 0, kStart, 1}, {10, 1, 0, kJump, 0}, {0, 1, 0, kStart, 0},
                          {1, 0, 0, kStart, 0}, {1, 1, 1, kStart, 0}, {-1, 1, 0, kStart, 0}};
    for (const Case& c : cases) {
        game = GameState{};
        game.paused = c.paused;
        settings.keys[ActionPause] = 9;
        Push({Key, c.key, 1});
        Push({Key, c.key, 0});
        PollInput(c.stage, c.allow);
        EXPECT_EQ(game.paused, c.paused | c.opens) << "stage " << c.stage;
        EXPECT_EQ(game.menuState, c.opens ? 2 : 0) << "stage " << c.stage;
        EXPECT_EQ(input.released, c.opens ? 0u : (c.key == kStart ? kButtonStart : kButtonJump)) << "stage " << c.stage;
    }
}

// Left beats a right pressed with it, but a right held first stays on beside left.
TEST(PlayControls, HeldButtonsGiveControlsLeftBeforeANewRight)
{
    const PlayerControls none, rightOn{0, 1, 0, 0, 0};
    const struct {
        uint32_t held;
        PlayerControls before;
        int left, right, jump, down, start;
    } cases[] = {
        {kButtonLeft | kButtonRight, none, 1, 0, 0, 0, 0},
        {kButtonLeft | kButtonRight, rightOn, 1, 1, 0, 0, 0},
        {kButtonRight, none, 0, 1, 0, 0, 0},
        {kButtonLeft, rightOn, 1, 0, 0, 0, 0},
        {kButtonUp | kButtonDown, none, 0, 0, 1, 1, 0},
        {kButtonJump | kButtonStart, rightOn, 0, 0, 1, 0, 1},
    };
    for (const auto& c : cases) {
        const PlayerControls p = ControlsFromHeld(c.held, c.before);
        EXPECT_EQ((std::vector<int>{p.left, p.right, p.jump, p.down, p.start}),
                  (std::vector<int>{c.left, c.right, c.jump, c.down, c.start}))
            << "held " << c.held << " right before " << c.before.right;
    }
}

} // namespace

namespace {

// Exit codes of the forked child below for the ways the first signal can go wrong.
constexpr int kFirstSignalLost = 3, kSecondSignalIgnored = 4;

TEST(EndSignalsDeathTest, TheFirstAsksToEndTheSecondEndsAtOnce)
{
    // The first end signal waits, blocked, until EndSignal takes it; the second gets the
    // default action and kills the process there and then.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CatchEndSignals();
            raise(SIGTERM);
            if (EndSignal() != SIGTERM || EndSignal() != SIGTERM)
                _exit(kFirstSignalLost);
            raise(SIGINT);
            _exit(kSecondSignalIgnored);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

} // namespace
