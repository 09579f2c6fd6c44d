// The event pump and PollInput, driven by events pushed into SDL's queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/settings.h"
#include "game/game_state.h"
#include "game/play_input.h"
#include "platform/input.h"
#include "test_keys.h"

namespace {

// SDL 1.2 key symbols used below besides the default bindings.
constexpr int kKeyA = 97;
// Full stick deflections and the edges of the centre zone.
constexpr int kStickMin = -32768;
constexpr int kStickMax = 32767;
// SDL hat bits.
constexpr int kHatUp = 1;
constexpr int kHatRight = 2;
constexpr int kHatDown = 4;
constexpr int kHatLeft = 8;

void PushKey(int sym, bool down)
{
    ASSERT_EQ(testsupport::PushKeyEvent(sym, down), 0);
}

void PushAction(int action, bool down)
{
    PushKey(settings.keys[action], down);
}

void PushAxis(int axis, int value, int joystick = 0)
{
    SDL_Event e{};
    e.type = SDL_JOYAXISMOTION;
    e.jaxis.which = static_cast<Uint8>(joystick);
    e.jaxis.axis = static_cast<Uint8>(axis);
    e.jaxis.value = static_cast<Sint16>(value);
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

void PushHat(int value, int joystick = 0)
{
    SDL_Event e{};
    e.type = SDL_JOYHATMOTION;
    e.jhat.which = static_cast<Uint8>(joystick);
    e.jhat.hat = 0;
    e.jhat.value = static_cast<Uint8>(value);
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

void PushButton(int button, bool down, int joystick = 0)
{
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = static_cast<Uint8>(joystick);
    e.jbutton.button = static_cast<Uint8>(button);
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

void PushQuit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

class InputTest : public ::testing::Test {
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

} // namespace

TEST_F(InputTest, OppositeKeyDirectionsExcludeEachOther)
{
    PushAction(ActionLeft, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonLeft);

    // Right while left is held replaces left; letting go of left later still
    // reports its release but leaves right alone.
    PushAction(ActionRight, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.released, 0u);
    PushAction(ActionLeft, false);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.released, kButtonLeft);

    PushAction(ActionUp, true);
    PushAction(ActionDown, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight | kButtonDown);
    PushAction(ActionUp, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight | kButtonUp);

    // released lasts one pump only.
    PumpEvents();
    EXPECT_EQ(input.released, 0u);
}

TEST_F(InputTest, ActionKeysHoldAndReleaseTheirButtons)
{
    PushAction(ActionJump, true);
    PushAction(ActionPause, true);
    PushAction(ActionStart, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonJump | kButtonPause | kButtonStart);

    // Several releases in one pump: the last one is reported.
    PushAction(ActionStart, false);
    PushAction(ActionJump, false);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonPause);
    EXPECT_EQ(input.released, kButtonJump);
    PushAction(ActionPause, false);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonPause);
}

TEST_F(InputTest, ReleaseIsReportedEvenIfTheButtonWasNotHeld)
{
    const struct {
        int action;
        uint32_t bit;
    } cases[] = {{ActionUp, kButtonUp},       {ActionDown, kButtonDown},   {ActionLeft, kButtonLeft},
                 {ActionRight, kButtonRight}, {ActionJump, kButtonJump},   {ActionPause, kButtonPause},
                 {ActionStart, kButtonStart}};
    for (const auto& c : cases) {
        input.held = kButtonStart & ~c.bit; // something unrelated may be held
        const uint32_t before = input.held;
        PushAction(c.action, false);
        PumpEvents();
        EXPECT_EQ(input.released, c.bit) << "action " << c.action;
        EXPECT_EQ(input.held, before) << "action " << c.action;
    }
}

TEST_F(InputTest, AKeyBoundToADirectionAndAnActionDrivesBoth)
{
    settings.keys[ActionJump] = settings.keys[ActionUp];
    PushAction(ActionUp, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp | kButtonJump);
    // The direction is handled first, so the action's release is the one reported.
    PushAction(ActionUp, false);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonJump);
}

TEST_F(InputTest, EscapeAsksToQuitOnPressAndItsReleaseReportsNothing)
{
    input.held = kButtonRight;
    PushKey(kKeyEscape, true);
    PumpEvents();
    EXPECT_EQ(input.quitRequest, 1);
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.lastKey, kKeyEscape);

    PushKey(kKeyEscape, false);
    PumpEvents();
    EXPECT_EQ(input.released, 0u);
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.quitRequest, 1); // only the game session clears it

    // Escape bound to an action acts as that action, not as quit.
    input = InputState{};
    settings.keys[ActionPause] = kKeyEscape;
    PushKey(kKeyEscape, true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonPause);
    EXPECT_EQ(input.quitRequest, 0);
}

TEST_F(InputTest, WindowCloseAsksToQuit)
{
    PushQuit();
    PumpEvents();
    EXPECT_EQ(input.quitRequest, 1);
    EXPECT_EQ(input.held, 0u);
}

TEST_F(InputTest, LastKeyAndLastPadButtonFollowTheLatestDevice)
{
    PushKey(kKeyA, true); // unbound keys count too
    PumpEvents();
    EXPECT_EQ(input.lastKey, kKeyA);
    EXPECT_EQ(input.lastPadButton, -1);
    EXPECT_EQ(input.held, 0u);

    PushButton(5, true); // an unbound pad button
    PumpEvents();
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastPadButton, 5);
    EXPECT_EQ(input.held, 0u);

    // A pad button release keeps the pad button and clears the key.
    input.lastKey = kKeyA;
    PushButton(5, false);
    PumpEvents();
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastPadButton, 5);
    EXPECT_EQ(input.released, 0u);

    // A key release forgets the pad button but keeps the last key.
    input.lastKey = kKeyA;
    PushKey(kKeyA, false);
    PumpEvents();
    EXPECT_EQ(input.lastKey, kKeyA);
    EXPECT_EQ(input.lastPadButton, -1);

    // Axis and hat motion change neither.
    input.lastKey = 42;
    input.lastPadButton = 3;
    PushAxis(0, kStickMax);
    PushHat(kHatUp);
    PumpEvents();
    EXPECT_EQ(input.lastKey, 42);
    EXPECT_EQ(input.lastPadButton, 3);
}

TEST_F(InputTest, PadButtonsHoldAndReleaseTheirButtons)
{
    PushButton(settings.pad[ActionJump], true);
    PushButton(settings.pad[ActionPause], true, 1); // any joystick counts
    PushButton(settings.pad[ActionStart], true);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonJump | kButtonPause | kButtonStart);
    EXPECT_EQ(input.lastPadButton, settings.pad[ActionStart]);

    PushButton(settings.pad[ActionPause], false);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonJump | kButtonStart);
    EXPECT_EQ(input.released, kButtonPause);
    PushButton(settings.pad[ActionJump], false);
    PushButton(settings.pad[ActionStart], false, 2);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonStart);

    // Released without having been pressed: still reported.
    PushButton(settings.pad[ActionJump], false);
    PumpEvents();
    EXPECT_EQ(input.released, kButtonJump);
}

TEST_F(InputTest, HatMovesKeepTheOtherAxisAndCentringReleasesBoth)
{
    PushHat(kHatUp);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp);

    // Straight from up to right: up is not let go.
    PushHat(kHatRight);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp | kButtonRight);
    EXPECT_EQ(input.released, 0u);

    // Centring releases both; the vertical release comes first and is overwritten.
    PushHat(0);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonRight);

    // Opposite hat directions exclude each other; diagonals press both axes.
    PushHat(kHatDown | kHatLeft);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonDown | kButtonLeft);
    PushHat(kHatUp | kHatRight);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp | kButtonRight);
    PushHat(0);
    PumpEvents();
    EXPECT_EQ(input.released, kButtonRight);

    // Only the vertical direction held: centring reports it.
    PushHat(kHatDown);
    PushHat(0);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonDown);

    // Centring with nothing held reports nothing.
    PushHat(0);
    PumpEvents();
    EXPECT_EQ(input.released, 0u);
}

TEST_F(InputTest, HatFollowsItsBindingsAndIgnoresUnboundDirections)
{
    // Swapped vertical bindings: the hat's up bit now means down.
    settings.pad[ActionUp] = kHatDown;
    settings.pad[ActionDown] = kHatUp;
    PushHat(kHatUp);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonDown);
    PushHat(0);
    PumpEvents();

    // While a redefinition has a direction unbound (-1), no hat position presses it.
    settings = Settings{};
    settings.pad[ActionUp] = -1;
    settings.pad[ActionLeft] = -1;
    PushHat(kHatRight);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    PushHat(kHatDown);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight | kButtonDown);
}

TEST_F(InputTest, StickAxesPressDirectionsBeyondTheThreshold)
{
    settings.pad[ActionJump] = 0; // stick up is plain up while jump has a button
    const struct {
        int axis;
        int value;
        uint32_t held;
    } cases[] = {
        {1, -kAxisThreshold - 1, kButtonUp}, {1, kStickMin, kButtonUp},    {1, kAxisThreshold + 1, kButtonDown},
        {1, kStickMax, kButtonDown},         {1, -kAxisThreshold, 0},      {1, kAxisThreshold, 0},
        {0, kAxisThreshold + 1, kButtonRight}, {0, -kAxisThreshold - 1, kButtonLeft}, {0, kAxisThreshold, 0},
        {0, -kAxisThreshold, 0},             {2, kStickMax, 0},            {3, kStickMin, 0},
    };
    for (const auto& c : cases) {
        input = InputState{};
        PushAxis(c.axis, c.value);
        PumpEvents();
        EXPECT_EQ(input.held, c.held) << "axis " << c.axis << " value " << c.value;
    }
}

TEST_F(InputTest, StickCentringReleasesTheHeldDirection)
{
    settings.pad[ActionJump] = 0;
    PushAxis(0, kStickMin);
    PushAxis(1, kStickMax);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonLeft | kButtonDown);

    // Swinging to the other side replaces the direction without a release.
    PushAxis(0, kStickMax);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight | kButtonDown);
    EXPECT_EQ(input.released, 0u);

    PushAxis(1, 0);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonRight);
    EXPECT_EQ(input.released, kButtonDown);
    PushAxis(0, kAxisThreshold); // the edge of the centre zone is centre
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonRight);

    PushAxis(1, kStickMin);
    PushAxis(1, 0, 1); // a second joystick's axis acts alike
    PumpEvents();
    EXPECT_EQ(input.released, kButtonUp);

    // Small wobbles around the centre report nothing.
    PushAxis(0, 1000);
    PushAxis(1, -1000);
    PumpEvents();
    EXPECT_EQ(input.released, 0u);
}

TEST_F(InputTest, StickUpIsJumpWhileJumpHasNoButton)
{
    settings.pad[ActionJump] = -1;
    PushAxis(1, kStickMin);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp | kButtonJump);

    // Back to the centre: up is released first, then jump, which is reported.
    PushAxis(1, 0);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonJump);

    // Stick down never jumps, and centring from down reports down, not jump.
    PushAxis(1, kStickMax);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonDown);
    PushAxis(1, 0);
    PumpEvents();
    EXPECT_EQ(input.released, kButtonDown);

    // A jump held from the keyboard is let go by the centred stick too.
    PushAction(ActionJump, true);
    PushAxis(1, 0);
    PumpEvents();
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, kButtonJump);

    // With a jump button bound, the stick only moves up.
    settings.pad[ActionJump] = 0;
    PushAxis(1, kStickMin);
    PumpEvents();
    EXPECT_EQ(input.held, kButtonUp);
    PushAxis(1, 0);
    PumpEvents();
    EXPECT_EQ(input.released, kButtonUp);
}

TEST_F(InputTest, PumpHookRunsBeforeTheQueueIsRead)
{
    static int calls;
    calls = 0;
    SetPumpHook([] {
        ++calls;
        PushAction(ActionRight, true);
    });
    PumpEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(input.held, kButtonRight);
    SetPumpHook(nullptr);
    PumpEvents();
    EXPECT_EQ(calls, 1);
}

TEST_F(InputTest, PollInputDerivesPlayerControlsFromHeldButtons)
{
    PushAction(ActionRight, true);
    PushAction(ActionDown, true);
    PushAction(ActionStart, true);
    PollInput(1, 1);
    EXPECT_EQ(playerControls.right, 1);
    EXPECT_EQ(playerControls.left, 0);
    EXPECT_EQ(playerControls.down, 1);
    EXPECT_EQ(playerControls.start, 1);
    EXPECT_EQ(playerControls.jump, 0);

    // Left replaces right; up counts as jump.
    PushAction(ActionLeft, true);
    PushAction(ActionUp, true);
    PollInput(1, 1);
    EXPECT_EQ(playerControls.left, 1);
    EXPECT_EQ(playerControls.right, 0);
    EXPECT_EQ(playerControls.jump, 1);
    EXPECT_EQ(playerControls.down, 0); // up cleared down

    // Jump alone holds jump; releasing everything clears every flag.
    PushAction(ActionUp, false);
    PushAction(ActionJump, true);
    PollInput(1, 1);
    EXPECT_EQ(playerControls.jump, 1);
    PushAction(ActionJump, false);
    PushAction(ActionLeft, false);
    PushAction(ActionStart, false);
    PollInput(1, 1);
    EXPECT_EQ(playerControls.left, 0);
    EXPECT_EQ(playerControls.right, 0);
    EXPECT_EQ(playerControls.jump, 0);
    EXPECT_EQ(playerControls.down, 0);
    EXPECT_EQ(playerControls.start, 0);
}

TEST_F(InputTest, PollInputPassesQuitToTheSessionAndNeverClearsIt)
{
    PollInput(0, 0);
    EXPECT_EQ(game.quitPending, 0);
    PushKey(kKeyEscape, true);
    PollInput(0, 0);
    EXPECT_EQ(game.quitPending, 1);
    input.quitRequest = 0;
    PollInput(0, 0);
    EXPECT_EQ(game.quitPending, 1);
}

TEST_F(InputTest, ReleasingPauseOrStartWhilePlayingOpensThePauseMenu)
{
    for (int action : {ActionPause, ActionStart}) {
        game = GameState{};
        game.menuState = 5;
        PushAction(action, true);
        PollInput(3, 1);
        EXPECT_EQ(game.paused, 0) << "the press alone does not pause";
        PushAction(action, false);
        PollInput(3, 1);
        EXPECT_EQ(game.paused, 1);
        EXPECT_EQ(game.menuState, 2);
        EXPECT_EQ(input.released, 0u) << "the release is swallowed";
    }
    // Pad pause works the same.
    game = GameState{};
    PushButton(settings.pad[ActionPause], false);
    PollInput(10, 1);
    EXPECT_EQ(game.paused, 1);
}

TEST_F(InputTest, PauseTriggerNeedsAPlayableStageAllowPauseAndNoOpenMenu)
{
    const struct {
        int stage;
        int allowPause;
        int paused;
        int action;
    } cases[] = {
        {3, 0, 0, ActionPause}, // player dead or not active
        {0, 1, 0, ActionPause}, // title stage
        {-1, 1, 0, ActionStart}, // no stage
        {3, 1, 1, ActionPause}, // already paused: the release goes to the menu
        {3, 1, 0, ActionJump},   // other buttons do not pause
    };
    for (const auto& c : cases) {
        game = GameState{};
        game.paused = c.paused;
        game.menuState = 7;
        PushAction(c.action, false);
        PollInput(c.stage, c.allowPause);
        EXPECT_EQ(game.paused, c.paused) << "stage " << c.stage << " allow " << c.allowPause;
        EXPECT_EQ(game.menuState, 7);
        const uint32_t bit = c.action == ActionPause ? kButtonPause : c.action == ActionStart ? kButtonStart : kButtonJump;
        EXPECT_EQ(input.released, bit) << "the release stays for the menu";
    }
}
