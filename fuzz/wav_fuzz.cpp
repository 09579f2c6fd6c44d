// Fuzz target: any bytes as a sound-effect entry, through the chunk-size check and the mixer's
// WAV decoder, as the effect loader does it.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/sound_effects.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        return SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0;
    }();
    if (!ready || !WavChunkSizesFit(data, size))
        return 0;
    if (Mix_Chunk* chunk = DecodeSoundEffect(data, size))
        Mix_FreeChunk(chunk);
    return 0;
}
