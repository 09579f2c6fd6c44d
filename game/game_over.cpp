// The game-over screen and the continue question over the still-moving stage.
#include "game/game_over.h"

#include <cstdio>

#include "audio/music.h"
#include "core/messages.h"
#include "core/stages.h"
#include "game/confirm.h"
#include "game/game_state.h"
#include "game/name_entry.h"
#include "game/play_input.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/session_music.h"
#include "game/session_stop.h"
#include "game/title_menu.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/actors.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

constexpr int kCauseY = 116;
constexpr int kScoreY = 136;
constexpr int kQuestionHintY = 128;
constexpr int kLoopForever = -1;

// One frame of the stage behind these screens: input, enemies and effects, the picture (not presented).
void LiveStageFrame(Player& hero)
{
    PollInput(kNoStage, 0);
    UpdateTileEffects(hero);
    UpdateActors(hero);
    DrawPlayfield(game.attemptFrame, hero);
}

void EndLiveStageFrame()
{
    PresentFrame();
    game.attemptFrame += 1;
}

bool LeftOrRightReleased()
{
    return input.released == kButtonLeft || input.released == kButtonRight;
}

} // namespace

void RunGameOver(Player& hero)
{
    PlaySessionTune(MusicTitle, kLoopForever);
    DrainConfirm();
    char scoreText[64];
    std::snprintf(scoreText, sizeof scoreText, "%s: %d", GetText(TXT_SCORE), world.score);
    ResetFrameClock();
    while (!IsConfirmRelease() && !SessionStopRequested()) {
        LiveStageFrame(hero);
        if (!frameClock.skipDraw) {
            DrawTextCentred(screenSurface, GetText(TXT_GAME_OVER), kMessageY, bigFont);
            DrawTextCentred(screenSurface, scoreText, kScoreY, bigFont);
            if (world.statusMessage[0] != '\0' && ((game.attemptFrame + 1) & kBlinkBit) == 0)
                DrawTextCentred(screenSurface, world.statusMessage, kCauseY, bigFont);
        }
        EndLiveStageFrame();
    }
    DrainConfirm();
    SetStatusMessage("");

    game.hiscoreHighlight = EnterHiscoreName(hero);
    ResetFrameClock();
    while (!LeftOrRightReleased() && !SessionStopRequested()) {
        LiveStageFrame(hero);
        if (!frameClock.skipDraw) {
            DimScreen();
            DrawTextCentred(screenSurface, GetText(TXT_CONTINUE_QUESTION), kMessageY, bigFont);
            DrawTextCentred(screenSurface, GetText(TXT_LEFT_YES_RIGHT_NO), kQuestionHintY, smallFont);
        }
        EndLiveStageFrame();
    }
    const bool yes = input.released == kButtonLeft;
    game.quitPending = 0;
    input.quitRequest = 0;
    const int stage = game.stage;
    ResetGame(game.hiscoreHighlight);
    if (yes)
        game.stage = stage;
    else if (game.hiscoreHighlight >= 0)
        game.menuState = kMenuHiscoreView;
}
