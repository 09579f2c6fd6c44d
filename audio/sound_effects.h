// The 13 sound effects: loading at session start and fire-and-forget playback.
#pragma once

#include "core/sound.h"

// Entry names in the sound archive, by SoundId.
extern const char* const kSoundNames[kSoundCount];

// Decodes the 13 effects from the sound archive; a missing or undecodable one
// ends the process ("Can't load sound file", "Unable to load sound").
void LoadSoundEffects();

// Frees the decoded effects.
void FreeSoundEffects();

// The mixer's sound player (start-up installs it with SetSoundPlayer): plays a
// loaded effect on the first free mixer channel; silently nothing when all are
// busy, for an unknown id or before the effects are loaded.
void PlayEffect(int id);

// Sets the volume of all mixer channels (0..128).
void SetEffectsVolume(int volume);
