// The 13 sound effects: loading at session start and fire-and-forget playback.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/sound.h"

struct Mix_Chunk;

// Entry names in the sound archive, by SoundId.
extern const char* const kSoundNames[kSoundCount];

// Decodes the 13 effects from the sound archive; a missing or undecodable one
// ends the process ("Can't load sound file", "Unable to load sound").
void LoadSoundEffects();

// True when no chunk of a WAV file claims more bytes than follow it. SDL
// allocates what a chunk claims before reading it, so a damaged size would cost
// gigabytes. Chunks are checked after a "RIFF" header or, as SDL also reads
// them, right after a bare "WAVE" id; other bytes are left for SDL to refuse.
bool WavChunkSizesFit(const uint8_t* data, size_t size);

// Decodes WAV bytes that passed WavChunkSizesFit into a mixer chunk in the
// mixer's format; null when the mixer cannot (Mix_GetError says why).
Mix_Chunk* DecodeSoundEffect(const uint8_t* data, size_t size);

// Frees the decoded effects.
void FreeSoundEffects();

// The mixer's sound player (start-up installs it with SetSoundPlayer): plays a
// loaded effect on the first free mixer channel; silently nothing when all are
// busy, for an unknown id or before the effects are loaded.
void PlayEffect(int id);

// Sets the volume of all mixer channels (0..128).
void SetEffectsVolume(int volume);
