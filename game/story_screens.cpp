// Story and ending pictures with their captions, and what follows them.
#include "game/story_screens.h"

#include <cstdio>
#include <functional>
#include <utility>

#include "assets/bitmap.h"
#include "core/geometry.h"
#include "core/messages.h"
#include "core/stages.h"
#include "game/confirm.h"
#include "game/game_state.h"
#include "game/name_entry.h"
#include "game/title_menu.h"
#include "game/waiting_screen.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/input.h"

namespace {

// The caption strip below the picture, and the caption's top edge.
constexpr int kCaptionStripY = 200;
constexpr int kCaptionY = 208;

// Polls until done() holds.
void WaitUntil(std::function<bool()> done)
{
    WaitingScreen s;
    s.done = std::move(done);
    s.input = WaitInput::Controls;
    RunWaitingScreen(s);
}

} // namespace

void ShowStoryScreen(char letter, int caption)
{
    char name[16];
    std::snprintf(name, sizeof name, "story%c", letter);
    SDL_Surface* picture = LoadBitmap(name, false);
    BlitAt(picture, 0, 0, screenSurface);
    FreeSurface(picture);
    FillRect(screenSurface, 0, kCaptionStripY, kScreenWidth, kScreenHeight - kCaptionStripY, ColorBlack);
    DrawTextCentred(screenSurface, GetText(caption), kCaptionY, bigFont);
    PresentScreen();
    WaitUntil([] { return IsConfirmRelease() || game.quitPending; });
    WaitUntil([] { return !IsConfirmRelease(); });
}

void RunStoryScreens(int stage)
{
    DrainConfirm();
    if (stage == kFirstStage) {
        ShowStoryScreen('a', TXT_HAPPILY_TOGETHER);
        ShowStoryScreen('b', TXT_SUDDENLY);
    }
    ShowStoryScreen('c', TXT_RINGS_OR_SHE_DIES);
    FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
    if (game.quitPending) {
        input.quitRequest = 0;
        game.quitPending = 0;
        ResetGame(-1);
    }
}

void RunEnding(const Player& hero)
{
    DrainConfirm();
    ShowStoryScreen('d', TXT_YOU_ARE_SAFE);
    ShowStoryScreen('e', TXT_THE_END);
    if (game.quitPending) {
        input.quitRequest = 0;
        game.quitPending = 0;
    }
    const int row = EnterHiscoreName(hero);
    ResetGame(row);
    if (row >= 0)
        game.menuState = kMenuHiscoreView;
}
