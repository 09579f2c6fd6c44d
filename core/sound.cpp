// The sound request door: one function pointer, empty until something can play.
#include "core/sound.h"

namespace {
SoundPlayer soundPlayer = nullptr;
} // namespace

void SetSoundPlayer(SoundPlayer player)
{
    soundPlayer = player;
}

void PlaySound(int id)
{
    if (soundPlayer)
        soundPlayer(id);
}
