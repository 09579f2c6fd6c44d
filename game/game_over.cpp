// The game-over screen and the continue question over the still-moving stage.
#include "game/game_over.h"

#include <cstdio>
#include <functional>
#include <utility>

#include "audio/music.h"
#include "core/messages.h"
#include "game/confirm.h"
#include "game/game_state.h"
#include "game/name_entry.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/session_music.h"
#include "game/title_menu.h"
#include "game/waiting_screen.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/actors.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

constexpr int kCauseY = 116;
constexpr int kScoreY = 136;
constexpr int kQuestionHintY = 128;
constexpr int kLoopForever = -1;

// A screen over the stage, which goes on behind it: enemies and effects move, then the picture
// with the screen's own layer (unless the frame clock skips drawing) and the next attempt frame.
WaitingScreen OverLiveStage(Player& hero, std::function<bool()> done, std::function<void()> layer)
{
    WaitingScreen s;
    s.done = std::move(done);
    s.step = [&hero, layer = std::move(layer)] {
        UpdateTileEffects(hero);
        UpdateActors(hero);
        DrawPlayfield(play.attemptFrame, hero);
        if (!frameClock.skipDraw)
            layer();
        play.attemptFrame += 1;
        return true;
    };
    s.input = WaitInput::Controls;
    s.pace = WaitPace::Frame;
    return s;
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
    RunWaitingScreen(OverLiveStage(hero, [] { return IsConfirmRelease() != 0; }, [&scoreText] {
        DrawTextCentred(screenSurface, GetText(TXT_GAME_OVER), kMessageY, bigFont);
        DrawTextCentred(screenSurface, scoreText, kScoreY, bigFont);
        if (world.statusMessage[0] != '\0' && ((play.attemptFrame + 1) & kBlinkBit) == 0)
            DrawTextCentred(screenSurface, world.statusMessage, kCauseY, bigFont);
    }));
    DrainConfirm();
    SetStatusMessage("");

    game.hiscoreHighlight = EnterHiscoreName(hero);
    RunWaitingScreen(OverLiveStage(hero, LeftOrRightReleased, [] {
        DimScreen();
        DrawTextCentred(screenSurface, GetText(TXT_CONTINUE_QUESTION), kMessageY, bigFont);
        DrawTextCentred(screenSurface, GetText(TXT_LEFT_YES_RIGHT_NO), kQuestionHintY, smallFont);
    }));
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
