// Sound effects (stand-in until the effects are made: plays nothing).
#include "audio/sound_effects.h"

const char* const kSoundNames[kSoundCount] = {"klonk", "krack", "aj",    "blubb", "jipie", "chew", "knirk",
                                              "tada",  "trdoor", "boink", "bat",   "klack", "splash"};

void LoadSoundEffects() {}
void FreeSoundEffects() {}
void PlaySound(int) {}
void SetEffectsVolume(int) {}
