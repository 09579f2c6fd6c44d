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
#include "world/play_state.h"
#include "world/player.h"
#include "world/world_state.h"

namespace {

// The hero of the session, handed by reference to every world operation.
Player& hero = play.hero;

// A session starts from nothing: no stage, no controls, no pending quit or
// pause, an empty play record and a new game; then the tiles and sounds it plays with.
void StartSessionState()
{
    playerControls = PlayerControls{};
    game.quitPending = 0;
    game.paused = 0;
    play = PlayState{};
    ResetGame(-1);

    LoadTileImages();
    LoadSoundEffects();
    game.continueStage = 0;
}

// What follows the end of an attempt.
enum class Next {
    Attempt, // the session goes on with the next attempt
    EndSession,
};

// Whatever ends the session leaves nothing more to do.
Next EndSession()
{
    return Next::EndSession;
}

// A quit confirmed during play, or asked for on the title stage. During play it
// is a new game on the title, with no hiscore entry; on the hiscore view or in
// the options it is back to that menu item; anywhere else the session ends.
Next Quit()
{
    if (game.stage > 0) {
        ResetGame(-1);
        ResetRestartPoint();
        input.quitRequest = 0;
        game.quitPending = 0;
        game.reloadMusic = 1;
        return Next::Attempt;
    }
    if (game.menuState < 0 && !game.testMode) {
        input.quitRequest = 0;
        game.quitPending = 0;
        game.menuState = -game.menuState;
        return Next::Attempt;
    }
    return Next::EndSession;
}

// A stage reached the open exit: a test-mode session ends there; otherwise
// the bonus count, then the ending after the last stage, else the savegame.
Next StageFinished()
{
    if (game.testMode) {
        FreeSessionMusic();
        return Next::EndSession;
    }
    RunStageComplete(hero);
    game.stage += 1;
    if (game.stage == kEndingStage)
        RunEnding(hero);
    else
        WriteSaveGame(game.stage - 1);
    ResetRestartPoint();
    game.reloadMusic = 1;
    return Next::Attempt;
}

// The title menu left the title stage: EXIT quits; NEW GAME and CONTINUE go to
// the story screens of their first stage, or to the ending when the savegame's
// last finished stage was the last one.
Next ChosenOnTitle()
{
    if (game.menuState == kMenuExit) {
        game.quitPending = 1;
        return Quit();
    }
    if (game.menuState == kMenuContinue)
        game.stage = game.continueStage;
    game.stage += 1;
    if (game.stage == kEndingStage)
        RunEnding(hero);
    else
        RunStoryScreens(game.stage);
    ResetRestartPoint();
    game.reloadMusic = 1;
    return Next::Attempt;
}

// The hero's attempt ended without finishing: a life less, and game over
// after the last one.
Next LoseLife()
{
    world.lives -= 1;
    if (world.lives <= 0) {
        RunGameOver(hero);
        // Whatever the answer, the next stage starts anew from its own start
        // point with its music: a checkpoint belongs to the game that ended.
        ResetRestartPoint();
        game.reloadMusic = 1;
        return Next::Attempt;
    }
    SetStatusMessage("");
    return Next::Attempt;
}

// How an attempt can end, in the order they are told apart.
enum class AttemptEnd {
    Stopped,  // a session stop was requested
    Quit,     // the quit question was answered yes
    Finished, // the hero reached the open exit
    Menu,     // the title menu chose NEW GAME, CONTINUE or EXIT
    Killed,
    TimeUp,
    Fell,
};

// Each ending's name, as the replay hooks are told it, and what follows it.
struct AttemptEndRow {
    const char* reason;
    Next (*next)();
};
constexpr AttemptEndRow kAttemptEnds[] = {
    /* Stopped */ {"stopped", EndSession},
    /* Quit */ {"quit", Quit},
    /* Finished */ {"finished", StageFinished},
    /* Menu */ {"menu", ChosenOnTitle},
    /* Killed */ {"killed", LoseLife},
    /* TimeUp */ {"timeup", LoseLife},
    /* Fell */ {"fell", LoseLife},
};

AttemptEnd HowAttemptEnded(const Player& h)
{
    if (SessionStopRequested())
        return AttemptEnd::Stopped;
    if (game.quitPending)
        return AttemptEnd::Quit;
    if (h.active && h.finished)
        return AttemptEnd::Finished;
    if (game.stage == kTitleStage)
        return AttemptEnd::Menu;
    if (h.dead)
        return AttemptEnd::Killed;
    return world.hurryTimer <= 0 ? AttemptEnd::TimeUp : AttemptEnd::Fell;
}

const AttemptEndRow& RowOf(AttemptEnd end)
{
    return kAttemptEnds[static_cast<int>(end)];
}

// The whole end of an attempt. Returns true when RunSession must return.
bool EndOfAttempt()
{
    const AttemptEndRow& row = RowOf(HowAttemptEnded(hero));
    NotifyAttemptEnded(hero, row.reason);
    // The hooks told of the end may ask for the stop themselves.
    if (SessionStopRequested() || row.next() == Next::EndSession)
        return true;
    if (game.reloadMusic)
        FreeSessionMusic();
    DrainConfirm();
    return game.quitPending != 0;
}

} // namespace

const char* AttemptEndReason(const Player& h)
{
    return RowOf(HowAttemptEnded(h)).reason;
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
