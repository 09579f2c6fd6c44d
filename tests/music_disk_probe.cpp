// music_disk_probe: starts music through the real mixer with the stage fade-in and keeps
// the audio running until the fade is over and half as long again has played. Run with
// SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE=PATH so the mixer's output lands in a raw
// file the music tests read.
//   music_disk_probe [MUSIC.zda]
// Without an archive it plays a generated one-note module; with one, the stage 1 tune.
//   music_disk_probe --once
// plays a short generated module once and reports whether the hook removed itself.
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "assets/archive.h"
#include "audio/music.h"
#include "audio/music_hook.h"
#include "core/settings.h"
#include "tests/music_test_module.h"

namespace {

constexpr int kRate = 22050;
constexpr Uint32 kTimeoutMs = 60000;
constexpr Uint32 kPollMs = 2;

long FileSize(const char* path)
{
    struct stat st;
    return path && stat(path, &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* outPath = std::getenv("SDL_DISKAUDIOFILE");
    if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, 1024) < 0) {
        std::fprintf(stderr, "no audio: %s\n", SDL_GetError());
        return 3;
    }
    SetMusicOutputFormat(kRate, 2);
    SetMusicVolume(128);

    if (argc > 1 && std::strcmp(argv[1], "--once") == 0) {
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

    MusicModule* module = nullptr;
    if (argc > 1) {
        OpenArchiveFile(ArchiveMusic, argv[1]);
        module = LoadMusic(MusicStageFirst);
    } else {
        ApplyMusicSettings();
        music_test::TinyModOptions o;
        o.speed = 12; // one note held for 15 s, so the level follows the volume alone
        const std::vector<uint8_t> bytes = music_test::MakeTinyMod(o);
        module = LoadMusicFromMemory(bytes.data(), bytes.size());
    }
    if (!module) {
        std::fprintf(stderr, "no module\n");
        return 4;
    }
    const long startBytes = FileSize(outPath);
    PlayMusicFadingIn(module);

    // The device may resample, so the output is measured against the fade itself.
    const Uint32 start = SDL_GetTicks();
    while (musicVolume != musicTargetVolume && SDL_GetTicks() - start < kTimeoutMs)
        SDL_Delay(kPollMs);
    const long fadeBytes = FileSize(outPath) - startBytes;
    while (FileSize(outPath) - startBytes < fadeBytes * 3 / 2 && SDL_GetTicks() - start < kTimeoutMs)
        SDL_Delay(kPollMs);
    std::printf("volume %d playing %d\n", musicVolume.load(), MusicPlaying() ? 1 : 0);
    FreeMusic(module);
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
