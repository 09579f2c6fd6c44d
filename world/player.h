// The hero's per-frame update.
#pragma once

#include "world/hero.h"

// One frame of the hero: walking, pushing, jumping, riding, tile interactions,
// camera, dying.
void UpdatePlayer(Player& player, const PlayerControls& controls);
