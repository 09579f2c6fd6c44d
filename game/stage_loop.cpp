// The stage loop: input, world, picture and overlays of each frame, and the intro phase.
#include "game/stage_loop.h"

#include "core/stages.h"
#include "game/game_state.h"
#include "game/options_menu.h"
#include "game/pause_menu.h"
#include "game/play_input.h"
#include "game/playfield_render.h"
#include "game/session_stop.h"
#include "game/title_menu.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/play_state.h"
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
            play.attemptFrame = kIntroLastFrame;
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

// Who is in charge of a stage frame.
enum class Screen {
    TitleMenu,   // the title stage under its prompt or main menu
    HiscoreView, // the title stage dimmed under the ten hiscores
    Options,     // the title stage dimmed under the options screen
    Intro,       // "FRIBB, RUN!" before play: nothing moves
    Play,
    Pause,
};

// The screen in charge, read from the session's state; asked again for the picture, since the
// update may have changed it.
Screen CurrentScreen(bool intro)
{
    if (game.stage == kTitleStage) {
        if (game.menuState == kMenuOptionsScreen)
            return Screen::Options;
        return game.menuState < 0 ? Screen::HiscoreView : Screen::TitleMenu;
    }
    if (intro)
        return Screen::Intro;
    return game.paused ? Screen::Pause : Screen::Play;
}

void StepPlay(Player& hero)
{
    StepWorld(hero, playerControls);
}

// The title stage moves on; the hero never takes part there, and the screen over it acts only
// while he is out. True when it may act.
bool StepTitleStage(Player& hero)
{
    const bool heroOut = !hero.active;
    StepWorld(hero, playerControls);
    return heroOut;
}

void StepTitleMenu(Player& hero)
{
    if (StepTitleStage(hero))
        TitleMenuStep(hero);
}

void StepOptions(Player& hero)
{
    if (StepTitleStage(hero))
        TitleOptionsStep();
}

void OptionsLayer(int)
{
    DrawOptionsLayer();
}

void DrawPauseUnlessQuitting(int frame)
{
    if (!game.quitPending)
        DrawPauseLayer(frame);
}

void ScrollerStep(Player&)
{
    MoveTitleScroller();
}

// A quit asked for during play is answered before the next frame.
void AskQuitIfPending(Player& hero)
{
    if (game.quitPending)
        QuitConfirmation(hero);
}

// What each screen does in a frame: its update after the input (none: nothing moves), the layer
// it draws over the playfield before the frame is presented and paced, whether it draws that
// layer even on a frame the clock skips (the options screen does, over the last picture), and its
// step after the picture.
struct ScreenRow {
    void (*update)(Player& hero);
    void (*layer)(int frame);
    bool layerWhenSkipping;
    void (*afterPicture)(Player& hero);
};
constexpr ScreenRow kScreens[] = {
    /* TitleMenu */ {StepTitleMenu, DrawTitleLayer, false, ScrollerStep},
    /* HiscoreView */ {StepTitleMenu, DrawHiscoreLayer, false, nullptr},
    /* Options */ {StepOptions, OptionsLayer, true, nullptr},
    /* Intro */ {nullptr, nullptr, false, AskQuitIfPending},
    /* Play */ {StepPlay, nullptr, false, AskQuitIfPending},
    /* Pause */ {PauseStep, DrawPauseUnlessQuitting, false, AskQuitIfPending},
};

const ScreenRow& RowOf(Screen s)
{
    return kScreens[static_cast<int>(s)];
}

void UpdateWorld(Player& hero, bool intro)
{
    if (const auto update = RowOf(CurrentScreen(intro)).update)
        update(hero);
}

// The picture, shown, then the step after it of the screen in charge.
void DrawFrame(Player& hero, bool intro)
{
    DrawStagePicture(hero);
    PresentFrame();
    if (const auto afterPicture = RowOf(CurrentScreen(intro)).afterPicture)
        afterPicture(hero);
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

void DrawStagePicture(const Player& hero)
{
    const ScreenRow& row = RowOf(CurrentScreen(InIntroPhase(play.attemptFrame)));
    DrawPlayfield(play.attemptFrame, hero);
    if (row.layer && (row.layerWhenSkipping || !frameClock.skipDraw))
        row.layer(play.attemptFrame);
}

bool InIntroPhase(int frame)
{
    return game.stage != 0 && frame <= kIntroLastFrame;
}

void RunStageFrame(Player& hero)
{
    const bool intro = InIntroPhase(play.attemptFrame);
    ReadInput(hero, intro);
    UpdateWorld(hero, intro);
    // NEW GAME, CONTINUE and EXIT leave the title at once: nothing more of this frame is drawn.
    if (!game.leaveTitle) {
        DrawFrame(hero, intro);
        play.attemptFrame += 1;
    }
    NotifyFrameDone(hero);
}

void RunStageLoop(Player& hero)
{
    while (AttemptGoesOn(hero))
        RunStageFrame(hero);
}
