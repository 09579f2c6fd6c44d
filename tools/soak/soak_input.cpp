// Random inputs for the soak: replay scripts that play, pause and ask to quit, and hostile stage maps.
#include "soak_input.h"

#include <iterator>

#include "world/map_format.h"
#include "world/tile_codes.h"

namespace {

struct Choice {
    const char* buttons;
    int weight;
};

// What a restless player holds, weighted; {escape} asks to quit and so opens the quit question.
constexpr Choice kButtons[] = {
    {"R", 30}, {"RJ", 15}, {"J", 8}, {"L", 10}, {"LJ", 5},       {"-", 10}, {"D", 4},  {"RD", 3},
    {"U", 3},  {"S", 4},   {"P", 3}, {"LR", 1}, {"{escape}", 1}, {"JS", 1}, {"UP", 1},
};

// Codes with a rule of their own, weighted toward an open stage: empty, rings,
// blocks, bricks, lifts, gates, spikes, water, enemies, markers, the door, a code
// beyond the tile set.
constexpr uint8_t kInteresting[] = {0,    0,    0,    0,    0,    0,    0x15, 0x19, 0x19, 0x29, 0x8C,
                                    0x57, 0x56, 0x58, 0x16, 0x14, 0x28, 0x11, 0x1A, 0x89, 0x09, 0x0D,
                                    0x21, 0x35, 0x43, 0x79, 0x30, 0x3B, 0x55, 0x18, 0x01, 0xFF};

constexpr int kMaxColumns = 600;

const char* PickButtons(std::mt19937& rng)
{
    int total = 0;
    for (const Choice& c : kButtons)
        total += c.weight;
    int pick = static_cast<int>(rng() % static_cast<unsigned>(total));
    for (const Choice& c : kButtons) {
        if (pick < c.weight)
            return c.buttons;
        pick -= c.weight;
    }
    return "-";
}

} // namespace

std::string RandomScript(std::mt19937& rng, long polls)
{
    std::string text;
    for (long done = 0; done < polls;) {
        // Mostly short presses, sometimes a long hold.
        const long count = rng() % 8 == 0 ? 30 + rng() % 200 : 1 + rng() % 30;
        text += std::to_string(count) + " " + PickButtons(rng) + "\n";
        done += count;
    }
    return text;
}

std::vector<uint8_t> HostileMap(std::mt19937& rng)
{
    StageMap map;
    map.columns = 1 + static_cast<int>(rng() % kMaxColumns);
    map.cells.resize(static_cast<size_t>(map.columns) * kRows);
    for (uint8_t& cell : map.cells) {
        cell = rng() % 4 == 0 ? static_cast<uint8_t>(rng()) : kInteresting[rng() % std::size(kInteresting)];
        // The busy mark belongs to blocks in motion; the soak checks that the world never leaves
        // it behind, so the maps themselves hold none.
        if (cell == BusyCell)
            cell = BusyCell + 1;
    }
    std::vector<uint8_t> bytes = EncodeStageMap(map);
    if (rng() % 4 == 0)
        bytes.resize(kMapHeaderSize + rng() % (bytes.size() - kMapHeaderSize + 1)); // cut short
    return bytes;
}
