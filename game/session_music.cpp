// The session's one music handle and the stage-to-module rule.
#include "game/session_music.h"

#include "audio/music.h"

namespace {
MusicModule* sessionMusic = nullptr;
// Stage tunes repeat after this many stages.
constexpr int kStageTunes = 10;
} // namespace

int StageMusicId(int stage)
{
    return stage <= 0 ? MusicTitle : ((stage - 1) % kStageTunes) + MusicStageFirst;
}

void StartStageMusic(int stage)
{
    FreeSessionMusic();
    sessionMusic = LoadMusic(StageMusicId(stage));
    if (MusicTargetVolume() > 0)
        PlayMusicFadingIn(sessionMusic);
}

void FreeSessionMusic()
{
    FreeMusic(sessionMusic);
    sessionMusic = nullptr;
}

bool SessionMusicLoaded()
{
    return sessionMusic != nullptr;
}
