// Random inputs for the soak: replay scripts that play, pause and ask to quit, and hostile stage maps.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// A replay script of about polls input polls: mostly running and jumping to the
// right, with turns, ducks, waits, start, pause and the quit key now and then.
std::string RandomScript(std::mt19937& rng, long polls);

// A stage map file whose cells favour the codes with rules of their own (rings,
// blocks, lifts, gates, hazards, water, enemies, markers) with random bytes among
// them, never the busy mark of a moving block; now and then its header promises
// more columns than the file holds.
std::vector<uint8_t> HostileMap(std::mt19937& rng);
