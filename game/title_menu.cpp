// The main menu over the title stage: prompt, items, hiscore view, scroller, logo and version line.
#include "game/title_menu.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/front_end_images.h"
#include "core/messages.h"
#include "core/sound.h"
#include "core/stages.h"
#include "game/confirm.h"
#include "game/game_state.h"
#include "game/hiscores.h"
#include "game/options_menu.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/waiting_screen.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/key_capture.h"
#include "world/actors.h"
#include "world/camera.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// The logo sits 56 pixels above the screen's centre.
constexpr int kLogoRaise = 56;
// Text top edges.
constexpr int kVersionY = 208;
constexpr int kPromptY = 128;
constexpr int kScrollerY = 196;
constexpr int kHiscoreTitleY = 16;
constexpr int kHiscoreFirstRowY = 48;
constexpr int kHiscoreRowStep = 18;
constexpr int kHiscoreNameX = 48;
constexpr int kHiscoreScoreX = 192;
// Sub-steps per scroller character: the line moves half a pixel per frame.
constexpr int kScrollerSteps = 16;
// Characters of the scroller on screen at once (one more than fit, for the one sliding out).
constexpr int kScrollerChars = 41;

constexpr int kFirstItem = kMenuNewGame;
constexpr int kLastItem = kMenuExit;
constexpr int kItemText[kLastItem] = {TXT_NEW_GAME, TXT_CONTINUE, TXT_HISCORES, TXT_OPTIONS, TXT_EXIT};
constexpr int kItemY[kLastItem] = {104, 122, 140, 158, 176};

const char* scrollerText = nullptr;
int scrollerLength = 0;
int scrollerOffset = 0;
int scrollerStep = 0;

bool IsConfirm(uint32_t released)
{
    return released == kButtonStart || released == kButtonJump || released == kButtonPause;
}

// The prompt's confirm is drained while the title keeps running, so the menu
// that appears does not take the same release as its first choice.
void DrainPromptConfirm(Player& hero)
{
    WaitingScreen drain;
    drain.done = [] { return IsConfirmRelease() == 0; };
    drain.step = [&hero] {
        UpdateTileEffects(hero);
        UpdateActors(hero);
        DrawPlayfield(play.attemptFrame, hero);
        if (!frameClock.skipDraw)
            DrawTitleLayer(play.attemptFrame);
        return true;
    };
    drain.input = WaitInput::Controls;
    drain.pace = WaitPace::Frame;
    drain.inputAfterWait = true;
    drain.keepsFrameClock = true;
    RunWaitingScreen(drain);
}

// Every title frame moves the random generator on, as the savegame's draws
// expect, and lets the camera drift right unless told to stand still.
void DriftTitle(bool cameraMoves)
{
    (void)std::rand();
    if (cameraMoves)
        ScrollView(1);
}

} // namespace

MenuMove MainMenuMove(int menuState, uint32_t released, int continueStage)
{
    MenuMove m;
    m.menuState = menuState;
    if (menuState == kTitlePressStart) {
        if (IsConfirm(released))
            m.menuState = continueStage < 1 ? kMenuNewGame : kMenuContinue;
    } else if (menuState == kMenuHiscoreView) {
        if (IsConfirm(released)) {
            m.menuState = kMenuHiscores;
            m.clearsHighlight = true;
        }
    } else if (menuState >= kFirstItem && menuState <= kLastItem) {
        if (released == kButtonDown || released == kButtonRight) {
            m.menuState = menuState == kLastItem ? kFirstItem : menuState + 1;
            m.sound = SoundKlonk;
        } else if (released == kButtonUp || released == kButtonLeft) {
            m.menuState = menuState == kFirstItem ? kLastItem : menuState - 1;
            m.sound = SoundKlonk;
        } else if (IsConfirm(released)) {
            if (menuState == kMenuNewGame || menuState == kMenuContinue) {
                m.sound = SoundJipie;
                m.leavesTitle = true;
            } else if (menuState == kMenuExit) {
                m.sound = SoundAj;
                m.leavesTitle = true;
            } else if (menuState == kMenuHiscores) {
                m.menuState = kMenuHiscoreView;
            } else {
                m.menuState = kMenuOptionsScreen;
                m.entersOptions = true;
            }
        }
    }
    return m;
}

void TitleMenuStep(Player& hero)
{
    DriftTitle(true);
    const MenuMove m = MainMenuMove(game.menuState, input.released, game.continueStage);
    if (game.menuState == kTitlePressStart && m.menuState != kTitlePressStart)
        DrainPromptConfirm(hero);
    game.menuState = m.menuState;
    if (m.sound != kNoMenuSound)
        PlaySound(static_cast<SoundId>(m.sound));
    if (m.entersOptions)
        ResetOptionsMenu();
    if (m.clearsHighlight)
        game.hiscoreHighlight = -1;
    if (m.leavesTitle)
        game.leaveTitle = 1;
}

void TitleOptionsStep()
{
    // The camera stands still while the options screen captures bindings.
    DriftTitle(!capture.captureActive);
    OptionsStep();
}

void DrawTitleLayer(int frame)
{
    if (LogoImage)
        BlitAt(LogoImage, (kScreenWidth - SurfaceWidth(LogoImage)) / 2,
               (kScreenHeight - SurfaceHeight(LogoImage)) / 2 - kLogoRaise, screenSurface);
    DrawTextCentred(screenSurface, "FRIBB 3 V1.00", kVersionY, bigFont);
    if (scrollerText)
        DrawTextN(screenSurface, scrollerText + scrollerOffset, kScrollerChars, -(scrollerStep / 2), kScrollerY,
                  smallFont);
    const bool blinkShows = (frame & kBlinkBit) == 0;
    if (game.menuState == kTitlePressStart) {
        if (blinkShows)
            DrawTextCentred(screenSurface, GetText(TXT_PRESS_START), kPromptY, bigFont);
        return;
    }
    for (int item = kFirstItem; item <= kLastItem; ++item) {
        if (item != game.menuState || blinkShows)
            DrawTextCentred(screenSurface, GetText(kItemText[item - 1]), kItemY[item - 1], bigFont);
    }
}

void DrawHiscoreLayer(int frame)
{
    DimScreen();
    DrawTextCentred(screenSurface, GetText(TXT_HISCORES), kHiscoreTitleY, bigFont);
    for (int i = 0; i < kHiscoreRows; ++i) {
        if (i == game.hiscoreHighlight && (frame & kBlinkBit) != 0)
            continue;
        const HiscoreEntry& row = hiscoreTable.rows[i];
        const int y = kHiscoreFirstRowY + kHiscoreRowStep * i;
        char score[16];
        std::snprintf(score, sizeof score, "%05d", static_cast<int>(row.score));
        DrawText(screenSurface, row.name, kHiscoreNameX, y, bigFont);
        DrawText(screenSurface, score, kHiscoreScoreX, y, bigFont);
    }
}

void MoveTitleScroller()
{
    scrollerStep += 1;
    if (scrollerStep == kScrollerSteps) {
        scrollerStep = 0;
        scrollerOffset += 1;
        if (scrollerOffset >= scrollerLength)
            scrollerOffset = 0;
    }
}

void ResetTitleScroller()
{
    scrollerOffset = 0;
    scrollerStep = 0;
    if (!scrollerText) {
        scrollerText = GetText(TXT_SCROLLER);
        scrollerLength = static_cast<int>(std::strlen(scrollerText));
    }
}

void ResetGame(int highlight)
{
    world.score = 0;
    world.lives = kStartLives;
    game.stage = kTitleStage;
    game.menuState = kTitlePressStart;
    game.hiscoreHighlight = highlight;
    ResetTitleScroller();
    SetStatusMessage("");
}
