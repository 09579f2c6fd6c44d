// The 13 sound effects: loading at session start and fire-and-forget playback.
#pragma once

#include "core/sound.h"

// Entry names in the sound archive, by SoundId.
extern const char* const kSoundNames[kSoundCount];

// Decodes the 13 effects from the sound archive and makes the mixer the sound
// player: from then on PlaySound plays an effect on the first free mixer channel
// (silently nothing when all are busy). A missing or undecodable effect ends the
// process ("Can't load sound file", "Unable to load sound").
void LoadSoundEffects();

// Frees the decoded effects.
void FreeSoundEffects();

// Sets the volume of all mixer channels (0..128).
void SetEffectsVolume(int volume);
