// sound_load_probe: opens the mixer, loads the 13 effects from the sound archive given
// on the command line and says so; the effect-loading fatal paths are checked through it.
//   sound_load_probe SOUND.zda
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>

#include "assets/archive.h"
#include "audio/sound_effects.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_load_probe SOUND.zda\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) < 0) {
        std::fprintf(stderr, "no audio: %s\n", SDL_GetError());
        return 3;
    }
    // As in the game: a fatal error exits through SDL_Quit, which stops the audio thread first.
    std::at_quick_exit(SDL_Quit);
    OpenArchiveFile(ArchiveSound, argv[1]);
    LoadSoundEffects();
    std::printf("loaded %d effects\n", static_cast<int>(kSoundCount));
    FreeSoundEffects();
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
