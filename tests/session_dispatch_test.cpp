// End-of-attempt dispatch through the whole session: what follows a confirmed quit or a death.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

#include "core/settings.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/session.h"
#include "platform/input.h"
#include "platform/tick_source.h"
#include "stage_harness.h"
#include "world/player.h"
#include "world/world_state.h"

namespace {

using stagetest::StageBuilder;

// The frame of a playable attempt at which the test asks to quit (after the intro).
constexpr int kQuitFrame = 200;

struct Run {
    std::vector<int> attemptStages; // stage of each attempt, in order
    std::vector<std::string> endings;
    int quitAnswerKey = 0;          // key pressed to answer the quit question
} run;

int lastFrame = -1;

void AfterFrame(const Player&)
{
    if (game.attemptFrame < lastFrame || lastFrame < 0)
        run.attemptStages.push_back(game.stage);
    lastFrame = game.attemptFrame;
    if (run.attemptStages.size() >= 3 || game.attemptFrame >= kQuitFrame + 60) {
        RequestSessionStop();
        return;
    }
    if (game.stage > 0 && game.attemptFrame == kQuitFrame) {
        // Escape, then the answer queued for the question that follows.
        input.quitRequest = 1;
        stagetest::PushKey(run.quitAnswerKey, true);
        stagetest::PushKey(run.quitAnswerKey, false);
    }
}

void AttemptEnded(const Player&, const char* how)
{
    run.endings.push_back(how);
    lastFrame = -1;
}

std::vector<uint8_t> FlatStage(int columns)
{
    StageBuilder b(columns);
    b.Ground();
    return b.Bytes();
}

// Plays the session from stage 1 in a child process; exits 0 when `check` holds.
void PlaySessionAndCheck(int answerKey, bool (*check)())
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    DisplayConfig d;
    d.fullscreen = 0;
    d.zoom = 0;
    StartPlatform(d);
    LoadFrontEnd();
    UseVirtualClock(0);
    const std::vector<ArchiveInput> maps = {{"fribb300.bin", FlatStage(40)}, {"fribb301.bin", FlatStage(40)}};
    const std::vector<uint8_t> archive = BuildArchive(maps);
    char path[] = "/tmp/fribb3-dispatch-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0 || write(fd, archive.data(), archive.size()) != static_cast<ssize_t>(archive.size()))
        _exit(3);
    close(fd);
    OpenArchiveFile(ArchiveMaps, path);

    run = Run{};
    run.quitAnswerKey = answerKey;
    SessionObserver o;
    o.afterFrame = AfterFrame;
    o.attemptEnded = AttemptEnded;
    SetSessionObserver(&o);
    SessionStart start;
    start.stage = 1;
    RunSessionFrom(start);
    unlink(path);
    for (size_t i = 0; i < run.attemptStages.size(); ++i)
        std::fprintf(stderr, "attempt %zu: stage %d, ended %s\n", i, run.attemptStages[i],
                     i < run.endings.size() ? run.endings[i].c_str() : "-");
    _exit(check() ? 0 : 1);
}

} // namespace

TEST(SessionDispatch, ConfirmedQuitDuringPlayGoesToTheTitleStage)
{
    // Left answers yes: a new game on the title, not a jump into stage 1.
    EXPECT_EXIT(PlaySessionAndCheck(stagetest::kKeyLeft,
                                    [] {
                                        return run.attemptStages.size() >= 2 && run.attemptStages[0] == 1 &&
                                               run.attemptStages[1] == 0 && game.stage == 0 && world.lives == 6;
                                    }),
                ::testing::ExitedWithCode(0), "attempt 1: stage 0");
}

TEST(SessionDispatch, DeclinedQuitKeepsPlayingTheSameAttempt)
{
    // Right answers no: the attempt goes on, so only one attempt runs until the stop.
    EXPECT_EXIT(PlaySessionAndCheck(stagetest::kKeyRight,
                                    [] {
                                        return run.attemptStages.size() == 1 && game.stage == 1 &&
                                               game.quitPending == 0;
                                    }),
                ::testing::ExitedWithCode(0), "");
}
