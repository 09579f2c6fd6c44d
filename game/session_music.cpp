// The session's one music handle and the stage-to-module rule.
#include "game/session_music.h"

#include "audio/music.h"

namespace {
MusicModule* sessionMusic = nullptr;
int sessionMusicId = -1;
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
    sessionMusicId = sessionMusic ? StageMusicId(stage) : -1;
    if (MusicTargetVolume() > 0)
        PlayMusicFadingIn(sessionMusic);
}

void PlaySessionTune(int id, int loops)
{
    FreeSessionMusic();
    sessionMusic = LoadMusic(id);
    sessionMusicId = sessionMusic ? id : -1;
    PlayMusic(sessionMusic, loops);
}

void FreeSessionMusic()
{
    FreeMusic(sessionMusic);
    sessionMusic = nullptr;
    sessionMusicId = -1;
}

int SessionMusicId()
{
    return sessionMusicId;
}
