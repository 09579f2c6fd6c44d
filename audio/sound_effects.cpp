// Sound effects: the 13 WAV entries decoded into mixer chunks once per session, played fire-and-forget.
#include "audio/sound_effects.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

#include "app/fatal_error.h"
#include "assets/archive.h"

const char* const kSoundNames[kSoundCount] = {"klonk", "krack", "aj",    "blubb", "jipie", "chew", "knirk",
                                              "tada",  "trdoor", "boink", "bat",   "klack", "splash"};

namespace {

// All mixer channels at once, for Mix_Volume and "first free channel" for playback.
constexpr int kAllChannels = -1;
// Play the chunk once: no extra loops, no time limit.
constexpr int kNoExtraLoops = 0;
constexpr int kNoTimeLimit = -1;
// Mix_LoadWAV_RW must leave the stream to us; we free it ourselves.
constexpr int kKeepStream = 0;

Mix_Chunk* soundChunks[kSoundCount] = {};

} // namespace

void LoadSoundEffects()
{
    for (int id = 0; id < kSoundCount; ++id) {
        size_t size = 0;
        uint8_t* data = ReadArchiveEntry(ArchiveSound, kSoundNames[id], "wav", &size);
        if (!data)
            FatalError("Can't load sound file", kSoundNames[id]);
        SDL_RWops* stream = SDL_RWFromMem(data, static_cast<int>(size));
        Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, kKeepStream) : nullptr;
        if (stream)
            SDL_FreeRW(stream);
        if (!chunk)
            FatalError("Unable to load sound", SDL_GetError());
        // A session loaded twice must not leak the earlier chunk.
        if (soundChunks[id])
            Mix_FreeChunk(soundChunks[id]);
        soundChunks[id] = chunk;
        std::free(data);
    }
}

void FreeSoundEffects()
{
    for (Mix_Chunk*& chunk : soundChunks) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
}

void PlaySound(int id)
{
    // Ids come from the game's own table; anything else, or an effect not loaded yet, is silence.
    if (id < 0 || id >= kSoundCount || !soundChunks[id])
        return;
    Mix_PlayChannelTimed(kAllChannels, soundChunks[id], kNoExtraLoops, kNoTimeLimit);
}

void SetEffectsVolume(int volume)
{
    Mix_Volume(kAllChannels, volume);
}
