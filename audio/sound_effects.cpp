// Sound effects: the 13 WAV entries decoded into mixer chunks once per session, played fire-and-forget.
#include "audio/sound_effects.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/archive.h"
#include "core/fatal_error.h"

const char* const kSoundNames[kSoundCount] = {"klonk", "krack",  "aj",    "blubb", "jipie", "chew",  "knirk",
                                              "tada",  "trdoor", "boink", "bat",   "klack", "splash"};

namespace {

// All mixer channels at once, for Mix_Volume and "first free channel" for playback.
constexpr int kAllChannels = -1;
// Play the chunk once: no extra loops, no time limit.
constexpr int kNoExtraLoops = 0;
constexpr int kNoTimeLimit = -1;
// Mix_LoadWAV_RW must leave the stream to us; we close it ourselves.
constexpr int kKeepStream = 0;

Mix_Chunk* soundChunks[kSoundCount] = {};

// RIFF: "RIFF", size, "WAVE", then chunks of a 4-byte id, a 4-byte size and the
// data padded to an even length.
constexpr size_t kRiffHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
// The "WAVE" form id that follows "RIFF" and its size.
constexpr size_t kFormIdSize = 4;

uint32_t Le32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

bool WavChunkSizesFit(const uint8_t* data, size_t size)
{
    size_t pos = 0;
    if (size >= kRiffHeaderSize && std::memcmp(data, "RIFF", 4) == 0) {
        if (Le32(data + 4) > size - kChunkHeaderSize)
            return false;
        pos = kRiffHeaderSize;
    } else if (size >= kFormIdSize && std::memcmp(data, "WAVE", 4) == 0) {
        // SDL also decodes a file whose RIFF header is missing, from its chunks on.
        pos = kFormIdSize;
    } else {
        return true;
    }
    while (size - pos >= kChunkHeaderSize) {
        const uint32_t chunkSize = Le32(data + pos + 4);
        if (chunkSize > size - pos - kChunkHeaderSize)
            return false;
        pos += kChunkHeaderSize + chunkSize + (chunkSize & 1);
        if (pos > size)
            break; // only the pad byte of the last chunk is missing
    }
    return true;
}

Mix_Chunk* DecodeSoundEffect(const uint8_t* data, size_t size)
{
    SDL_RWops* stream = SDL_RWFromMem(const_cast<uint8_t*>(data), static_cast<int>(size));
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, kKeepStream) : nullptr;
    if (stream)
        SDL_RWclose(stream);
    return chunk;
}

void LoadSoundEffects()
{
    for (int id = 0; id < kSoundCount; ++id) {
        size_t size = 0;
        uint8_t* data = ReadArchiveEntry(ArchiveSound, kSoundNames[id], "wav", &size);
        if (!data)
            FatalError("Can't load sound file", kSoundNames[id]);
        if (!WavChunkSizesFit(data, size))
            FatalError("Unable to load sound",
                       (std::string(kSoundNames[id]) + " (chunk larger than the file)").c_str());
        Mix_Chunk* chunk = DecodeSoundEffect(data, size);
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

void PlayEffect(int id)
{
    if (id < 0 || id >= kSoundCount || !soundChunks[id])
        return;
    Mix_PlayChannelTimed(kAllChannels, soundChunks[id], kNoExtraLoops, kNoTimeLimit);
}

void SetEffectsVolume(int volume)
{
    Mix_Volume(kAllChannels, volume);
}
