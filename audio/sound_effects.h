// The 13 sound effects: loading at session start and fire-and-forget playback.
#pragma once

// Sound effect ids; the order is fixed, callers pass these numbers.
enum SoundId {
    SoundKlonk = 0,  // menu cursor, bump block
    SoundKrack = 1,  // something breaks
    SoundAj = 2,     // the hero is hurt
    SoundBlubb = 3,  // an enemy squashed
    SoundJipie = 4,  // cheerful confirm
    SoundChew = 5,   // ring or bonus picked up
    SoundKnirk = 6,  // checkpoint
    SoundTada = 7,   // extra life
    SoundTrdoor = 8, // gate slams
    SoundBoink = 9,  // spikes spring out
    SoundBat = 10,   // wings
    SoundKlack = 11, // heavy latch: door, pushed block, skull stomp
    SoundSplash = 12,
    kSoundCount = 13,
};

// Entry names in the sound archive, by SoundId.
extern const char* const kSoundNames[kSoundCount];

// Decodes the 13 effects from the sound archive; a missing or undecodable one
// ends the process ("Can't load sound file", "Unable to load sound").
void LoadSoundEffects();

// Frees the decoded effects.
void FreeSoundEffects();

// Plays an effect on the first free mixer channel; silently nothing when all are busy.
void PlaySound(int id);

// Sets the volume of all mixer channels (0..128).
void SetEffectsVolume(int volume);
