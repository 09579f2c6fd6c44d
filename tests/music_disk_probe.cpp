// music_disk_probe: plays a short generated module once through the real mixer and reports
// whether the music hook removed itself on the audio thread. Run with SDL_AUDIODRIVER=disk.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <vector>

#include "audio/music.h"
#include "audio/music_hook.h"
#include "tests/music_test_module.h"

namespace {
constexpr int kRate = 22050;
constexpr Uint32 kTimeoutMs = 60000;
constexpr Uint32 kPollMs = 2;
} // namespace

int main()
{
    if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, 1024) < 0) {
        std::fprintf(stderr, "no audio: %s\n", SDL_GetError());
        return 3;
    }
    SetMusicOutputFormat(kRate, 2);
    SetMusicVolume(128);
    ApplyMusicSettings();
    const std::vector<uint8_t> bytes = music_test::MakeTinyMod();
    MusicModule* module = LoadMusicFromMemory(bytes.data(), bytes.size());
    PlayMusic(module, 1);
    const Uint32 start = SDL_GetTicks();
    while (MusicPlaying() && SDL_GetTicks() - start < kTimeoutMs)
        SDL_Delay(kPollMs);
    std::printf("%s\n", MusicPlaying() ? "still playing" : "stopped by itself");
    FreeMusic(module);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
