// Stand-ins for the screens between attempts that keep the session's flow right.
#include "game/stage_end.h"

#include "core/messages.h"
#include "game/confirm.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/session.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/tick_source.h"
#include "world/world_state.h"

namespace {

// How long the stage-complete message stays: one second.
constexpr int kCompleteFrames = 60;
// A picture without overlay texts.
constexpr int kPictureOnly = -1;

// The finished stage with a centred message, dimmed; not presented.
void DrawMessageOverStage(Player& hero, int text)
{
    DrawPlayfield(kPictureOnly, hero, 0);
    DimScreen();
    DrawTextCentred(screenSurface, GetText(text), kMessageY, bigFont);
}

void NewGameOnTitle()
{
    ResetGame(-1);
    ResetRestartPoint();
    game.reloadMusic = 1;
}

} // namespace

void RunStageComplete(Player& hero)
{
    ResetFrameClock();
    for (int i = 0; i < kCompleteFrames && !SessionStopRequested(); ++i) {
        PumpEvents();
        if (!frameClock.skipDraw) {
            DrawMessageOverStage(hero, TXT_CONGRATULATIONS);
            PresentScreen();
        }
        WaitFrame();
    }
}

void RunStoryScreens(int) {}

void RunEnding()
{
    NewGameOnTitle();
}

void RunGameOver(Player& hero)
{
    DrawMessageOverStage(hero, TXT_GAME_OVER);
    PresentScreen();
    input.released = 0;
    while (!IsConfirmRelease() && !input.quitRequest && !SessionStopRequested()) {
        PumpEvents();
        Delay(kWaitPollMs);
    }
    DrainConfirm();
    NewGameOnTitle();
}
