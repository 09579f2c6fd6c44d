// Pause menu and quit confirmation.
#include "game/pause_menu.h"

#include "core/messages.h"
#include "core/sound.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/waiting_screen.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/score.h"
#include "world/tile_effects.h"

namespace {

constexpr int kItemY[3] = {124, 142, 160};
constexpr int kItemText[3] = {TXT_SUICIDE, TXT_GO_ON, TXT_EXIT};

// The quit question is drawn like frame 32 of an attempt: dimmed, hero hidden.
constexpr int kQuitPictureFrame = 32;
constexpr int kQuitHintY = 128;
constexpr int kQuitWarningY = 140;

} // namespace

void PauseStep(Player& hero)
{
    const uint32_t r = input.released;
    if (r == kButtonDown || r == kButtonRight) {
        game.menuState = game.menuState >= kPauseExit ? kPauseSuicide : game.menuState + 1;
        PlaySound(SoundKlonk);
    } else if (r == kButtonUp || r == kButtonLeft) {
        game.menuState = game.menuState <= kPauseSuicide ? kPauseExit : game.menuState - 1;
        PlaySound(SoundKlonk);
    } else if (r == kButtonStart || r == kButtonJump) {
        game.paused = 0;
        if (game.menuState == kPauseSuicide)
            KillPlayer(hero, GetText(TXT_SUICIDE), EffectSuicide);
        else if (game.menuState == kPauseExit)
            game.quitPending = 1;
        else
            PlaySound(SoundJipie);
        game.menuState = 0;
    }
}

void DrawPauseLayer(int frame)
{
    DimScreen();
    DrawTextCentred(screenSurface, GetText(TXT_PAUSE), kMessageY, bigFont);
    for (int i = 0; i < 3; ++i) {
        const bool selected = game.menuState == i + 1;
        if (!selected || (frame & kBlinkBit) == 0)
            DrawTextCentred(screenSurface, GetText(kItemText[i]), kItemY[i], bigFont);
    }
}

void QuitConfirmation(Player& hero)
{
    frameClock.skipDraw = 0;
    DrawPlayfield(kQuitPictureFrame, hero);
    DimScreen();
    DrawTextCentred(screenSurface, GetText(TXT_SURE_TO_QUIT), kMessageY, bigFont);
    DrawTextCentred(screenSurface, GetText(TXT_LEFT_YES_RIGHT_NO), kQuitHintY, smallFont);
    DrawTextCentred(screenSurface, GetText(TXT_HISCORE_LOST), kQuitWarningY, smallFont);
    PresentScreen();
    WaitingScreen answer;
    answer.done = [] { return input.released == kButtonLeft || input.released == kButtonRight; };
    answer.input = WaitInput::Events;
    RunWaitingScreen(answer);
    if (input.released == kButtonRight) {
        ResetFrameClock();
        input.quitRequest = 0;
        game.quitPending = 0;
        PlaySound(SoundJipie);
    } else {
        PlaySound(SoundAj);
    }
}
