// One frame of the world: every phase of the simulation, listed once, in order.
#pragma once

struct Player;
struct PlayerControls;

// Starts the play record's pieces from nothing, as a new game does: a fresh
// WorldState with the starting lives, a full hurry timer and oxygen, no actors,
// tile effects or lifts, a hero out of play and frame 0. The grids are left alone.
void ResetWorld();

// Advances the world one frame: tile effects, actors, lifts, then, while the
// hero takes part in play, the hero (steered by controls), the hurry timer and
// oxygen. Each phase sees the grid and the hero as the previous one left them.
void StepWorld(Player& hero, const PlayerControls& controls);
