// Sound effect requests: the effect ids and the one door every PlaySound goes through.
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

// Whatever turns a sound request into sound (the mixer once the effects are
// loaded; a recorder in tests).
using SoundPlayer = void (*)(int id);

// Routes every later PlaySound to player; null makes them silent.
void SetSoundPlayer(SoundPlayer player);

// Passes id to the installed player; silence when there is none.
void PlaySound(int id);
