// The stage loop: the frame steps in their order, the intro phase, the hurry timer and oxygen.
#include "game/stage_loop.h"

#include "app/messages.h"
#include "audio/sound_effects.h"
#include "game/game_state.h"
#include "game/pause_menu.h"
#include "game/session.h"
#include "game/title_menu.h"
#include "platform/input.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"
#include "world/playfield_render.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// Oxygen refills this much per frame out of water, up to the full mark.
constexpr int kOxygenRefill = 2;
// Death effect shown for "DROWNED".
constexpr int kDrownEffect = EffectDrowning;
// A dead hero sent here has finished falling out of the stage.
constexpr int kDeadFallEnd = kDeadGoneY;

bool StartOrJumpReleased()
{
    return input.released == kButtonStart || input.released == kButtonJump;
}

// Step 1 of a frame.
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

// Step 2 of a frame.
void UpdateWorld(Player& hero, bool intro)
{
    if (intro)
        return;
    if (game.paused) {
        PauseStep(hero);
        return;
    }
    UpdateTileEffects(hero);
    UpdateActors(hero);
    UpdateLifts(hero);
    if (!hero.active && game.stage == 0)
        TitleStep(hero);
    if (hero.active) {
        UpdatePlayer(hero);
        RunHurryTimer(hero);
        RunOxygen(hero);
    }
}

// Steps 5 and 6: the picture, then the overlay of whoever is in charge.
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

bool HeroInWater(const Player& hero)
{
    const TileCode c = TileAtPixel(hero.x + kCellSize / 2, hero.y + kCellSize / 2);
    return (c >= tile::WaterSurfaceA && c <= tile::WaterLast) || c == tile::Water || c == tile::WaterB ||
           c == tile::WaterC;
}

void RunHurryTimer(Player& hero)
{
    world.hurryTimer -= 1;
    if (world.hurryTimer == 0)
        EndAttempt(hero, GetText(TXT_TIME_UP), 0);
}

void RunOxygen(Player& hero)
{
    if (HeroInWater(hero)) {
        world.oxygen -= 1;
        if (world.oxygen == 0)
            KillPlayer(hero, GetText(TXT_DROWNED), kDrownEffect);
        // Looked at after the drowning: a hero who just drowned makes no splash.
        if (!game.splashFlag && hero.active && !hero.dead) {
            PlaySound(SoundSplash);
            game.splashFlag = 1;
        }
    } else {
        if (hero.active && !hero.dead && world.oxygen <= kOxygenFull - kOxygenRefill)
            world.oxygen += kOxygenRefill;
        game.splashFlag = 0;
    }
}

void RunStageFrame(Player& hero)
{
    const bool intro = InIntroPhase(game.attemptFrame);
    ReadInput(hero, intro);
    UpdateWorld(hero, intro);
    DrawFrame(hero);
    game.attemptFrame += 1;
    NotifyFrameDone(hero);
}

void RunStageLoop(Player& hero)
{
    while (AttemptGoesOn(hero))
        RunStageFrame(hero);
}
