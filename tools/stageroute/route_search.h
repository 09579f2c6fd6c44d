// Finding input that takes the hero from the current state of the stage player to a route goal.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "route_plan.h"

#include "stage_sim.h"

// Searches input (one entry per frame) from the stage player's current state
// until the goal is met, alive. Among the first solutions found it keeps the
// one that most often still meets the goal when one of its input changes comes
// a frame or two early or late, or when it starts from one of the perturbed
// states (where the hero would be had earlier input been shifted so), then the
// shortest. before is the buttons held in the frame before the search.
// On success the player is left where that input takes it, robustness is the
// kept solution's share of surviving shifts and perturbed becomes the states
// that still differ from the player's at its end; otherwise false with the
// reason in why and the player back at the start.
// Solutions that end in a state whose key (SnapshotKey) is in banned are passed over.
bool SearchGoal(const RouteGoal& goal, uint32_t before, std::vector<SimSnapshot>& perturbed,
                std::vector<uint32_t>& input, double& robustness, std::string& why,
                const std::unordered_set<uint64_t>& banned);

// A hash of everything in a snapshot that decides the future of play.
uint64_t SnapshotKey(const SimSnapshot& s);

// Plays input from the player's current state (leaving it at the end), its
// shifted variants from there and the input from every perturbed state; the
// states that survive and differ from the player's become the perturbed states.
void AdvancePerturbed(uint32_t before, std::vector<SimSnapshot>& perturbed, const std::vector<uint32_t>& input);

// True when the hero, as the stage player left him, has met the goal.
bool GoalMet(const RouteGoal& goal);
