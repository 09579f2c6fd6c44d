// The session loop: resources, the attempt loop and the dispatch at the end of each attempt.
#include "game/session.h"

#include "assets/tile_images.h"
#include "audio/sound_effects.h"
#include "core/stages.h"
#include "game/confirm.h"
#include "game/game_over.h"
#include "game/game_state.h"
#include "game/play_input.h"
#include "game/savegame.h"
#include "game/session_music.h"
#include "game/session_stop.h"
#include "game/stage_complete.h"
#include "game/stage_loader.h"
#include "game/stage_loop.h"
#include "game/story_screens.h"
#include "game/title_menu.h"
#include "platform/input.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// The hero of the session, handed by reference to every world operation.
Player hero;

// A session starts from nothing: no stage, no controls, no pending quit or
// pause, an empty world and a new game; then the tiles and sounds it plays with.
void StartSessionState()
{
    playerControls = PlayerControls{};
    game.quitPending = 0;
    game.paused = 0;
    world = WorldState{};
    FreeLevelMap();
    ClearTileEffects();
    ClearActors();
    ResetGame(-1);

    LoadTileImages();
    LoadSoundEffects();
    game.continueStage = 0;
}

// What the quit step of the end of an attempt decided.
enum class QuitOutcome {
    None,       // no quit: the attempt ended by play or by the title menu
    Handled,    // quit dealt with; the next attempt is the title stage
    EndSession, // RunSession returns
};

// The quit part of the end of an attempt: a quit from the title menu or during
// play, or on a screen of the title menu. A handled quit is the whole end of
// the attempt: it must not also count as an advance from the title stage.
QuitOutcome HandleQuit()
{
    if (game.stage == 0 && !game.quitPending && game.menuState == kMenuExit)
        game.quitPending = 1;
    if (!game.quitPending)
        return QuitOutcome::None;
    if (game.stage > 0) {
        // Quit confirmed during play: a new game on the title, no hiscore entry.
        ResetGame(-1);
        ResetRestartPoint();
        input.quitRequest = 0;
        game.quitPending = 0;
        game.reloadMusic = 1;
        return QuitOutcome::Handled;
    }
    if (game.stage <= 0 && game.menuState < 0 && !game.testMode) {
        // Quit on the hiscore view or in the options: back to that menu item.
        input.quitRequest = 0;
        game.quitPending = 0;
        game.menuState = -game.menuState;
        return QuitOutcome::Handled;
    }
    return QuitOutcome::EndSession;
}

// The title chose a game, or a stage was finished. Returns true when
// the session ends (test mode).
bool Advance()
{
    bool fromMenu = false;
    if (game.stage == 0) {
        if (game.menuState == kMenuNewGame)
            game.stage = 0;
        else if (game.menuState == kMenuContinue)
            game.stage = game.continueStage;
        fromMenu = true;
    } else {
        if (game.testMode) {
            FreeSessionMusic();
            return true;
        }
        RunStageComplete(hero);
    }
    game.stage += 1;
    if (game.stage == kEndingStage)
        RunEnding(hero);
    else if (!fromMenu)
        WriteSaveGame(game.stage - 1);
    else
        RunStoryScreens(game.stage);
    ResetRestartPoint();
    game.reloadMusic = 1;
    return false;
}

// The hero's attempt ended without finishing.
void LoseLife()
{
    world.lives -= 1;
    if (world.lives <= 0) {
        RunGameOver(hero);
        // Whatever the answer, the next stage starts anew from its own start
        // point with its music: a checkpoint belongs to the game that ended.
        ResetRestartPoint();
        game.reloadMusic = 1;
        return;
    }
    SetStatusMessage("");
}

// The whole end of an attempt. Returns true when RunSession must return.
bool EndOfAttempt()
{
    NotifyAttemptEnded(hero, AttemptEndReason(hero));
    if (SessionStopRequested())
        return true;
    const QuitOutcome quit = HandleQuit();
    if (quit == QuitOutcome::EndSession)
        return true;
    if (quit == QuitOutcome::None) {
        const bool advance = (hero.active && hero.finished) || game.stage == 0;
        if (advance) {
            if (Advance())
                return true;
        } else {
            LoseLife();
        }
    }
    if (game.reloadMusic)
        FreeSessionMusic();
    DrainConfirm();
    return game.quitPending != 0;
}

} // namespace

const char* AttemptEndReason(const Player& h)
{
    if (SessionStopRequested())
        return "stopped";
    if (game.quitPending)
        return "quit";
    if (h.active && h.finished)
        return "finished";
    if (game.stage == 0)
        return "menu";
    if (h.dead)
        return "killed";
    return world.hurryTimer <= 0 ? "timeup" : "fell";
}

void RunSessionFrom(const SessionStart& start)
{
    ClearSessionStop();
    StartSessionState();
    game.testMode = start.mapFile != nullptr;
    if (game.testMode) {
        SetTestMapPath(start.mapFile);
        game.stage = kTestStage;
    } else {
        game.continueStage = ReadSaveGame();
        game.stage = start.stage;
    }
    ResetRestartPoint();
    FreeSessionMusic();
    game.reloadMusic = 1;

    while (!game.quitPending && !SessionStopRequested()) {
        LoadStage(hero);
        RunStageLoop(hero);
        if (EndOfAttempt())
            break;
    }
    FreeSessionMusic();
}

void RunSession(int testMode)
{
    SessionStart start;
    if (testMode)
        start.mapFile = "maps/test.bin";
    RunSessionFrom(start);
}
