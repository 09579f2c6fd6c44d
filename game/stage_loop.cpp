// The stage loop: input, world, picture and overlays of each frame, and the intro phase.
#include "game/stage_loop.h"

#include "game/game_state.h"
#include "game/pause_menu.h"
#include "game/play_input.h"
#include "game/playfield_render.h"
#include "game/session.h"
#include "game/title_menu.h"
#include "platform/input.h"
#include "world/player.h"
#include "world/world_tick.h"

namespace {

// A dead hero sent here has finished falling out of the stage.
constexpr int kDeadFallEnd = kDeadGoneY;

bool StartOrJumpReleased()
{
    return input.released == kButtonStart || input.released == kButtonJump;
}

// Input first: during the intro only start or jump (skipping it) counts.
void ReadInput(Player& hero, bool intro)
{
    if (intro) {
        PumpEvents();
        if (game.stage > 0 && StartOrJumpReleased())
            game.attemptFrame = kIntroLastFrame;
        // The hero never sees intro input: a button held through it must be pressed again.
        input.held = 0;
        input.released = 0;
        return;
    }
    PollInput(game.stage, hero.active && !hero.dead);
    if (game.stage > 0 && StartOrJumpReleased()) {
        if (hero.dead)
            hero.y = kDeadFallEnd;
        if (!hero.active)
            hero.idleTimer = 1;
    }
}

// The world moves unless the intro runs or the pause menu is open; the title
// menu steps on the title stage, where the hero never takes part.
void UpdateWorld(Player& hero, bool intro)
{
    if (intro)
        return;
    if (game.paused) {
        PauseStep(hero);
        return;
    }
    const bool onTitle = !hero.active && game.stage == 0;
    StepWorld(hero, playerControls);
    if (onTitle)
        TitleStep(hero);
}

// The picture, then the overlay of whoever is in charge.
void DrawFrame(Player& hero)
{
    const bool menuDrawsOwnLayer = game.stage == 0 && game.menuState < 0;
    DrawPlayfield(game.attemptFrame, hero, menuDrawsOwnLayer ? 0 : 1);
    if (game.stage == 0)
        TitleOverlayStep(hero);
    else if (game.quitPending)
        QuitConfirmation(hero);
}

// The tests before each frame: 1 while the attempt goes on.
bool AttemptGoesOn(Player& hero)
{
    if (!hero.active) {
        hero.idleTimer -= 1;
        if (hero.idleTimer <= 0 && game.stage != 0)
            return false;
    }
    if (hero.active && hero.finished)
        return false;
    if (game.quitPending || game.leaveTitle || SessionStopRequested())
        return false;
    return true;
}

} // namespace

bool InIntroPhase(int frame)
{
    return game.stage != 0 && frame <= kIntroLastFrame;
}

void RunStageFrame(Player& hero)
{
    const bool intro = InIntroPhase(game.attemptFrame);
    ReadInput(hero, intro);
    UpdateWorld(hero, intro);
    // NEW GAME, CONTINUE and EXIT leave the title at once: nothing more of this frame is drawn.
    if (!game.leaveTitle) {
        DrawFrame(hero);
        game.attemptFrame += 1;
    }
    NotifyFrameDone(hero);
}

void RunStageLoop(Player& hero)
{
    while (AttemptGoesOn(hero))
        RunStageFrame(hero);
}
