// The dump's grid and picture checksums hash values in a fixed byte order, so every machine gets the same ones.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/replay/state_dump.h"
#include "world/play_state.h"
#include "world/world_tick.h"

namespace {

// FNV-1a over bytes written out by hand, as the checksums must see them
// whatever the host's byte order.
uint64_t Fnv(const std::vector<uint8_t>& bytes)
{
    uint64_t d = 0xcbf29ce484222325ull;
    for (const uint8_t b : bytes)
        d = (d ^ b) * 0x100000001b3ull;
    return d;
}

std::string Folded(uint64_t d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08" PRIx32, static_cast<uint32_t>(d ^ (d >> 32)));
    return buf;
}

TEST(StateDump, ChecksumsHashValuesLeastSignificantByteFirst)
{
    EXPECT_EQ(AddWordToDigest(kDigestStart, 0x12345678u), Fnv({0x78, 0x56, 0x34, 0x12}));
    EXPECT_NE(AddWordToDigest(kDigestStart, 0x12345678u), Fnv({0x12, 0x34, 0x56, 0x78}));

    // Both grids: each cell as four bytes, least significant first.
    levelMap.columns = 1;
    levelMap.live = {0x000000F0u, 0x01020304u};
    levelMap.restore = {0x80000001u};
    ResetWorld();
    // Drawing calls: the name, five numbers (negatives as two's complement) and the text.
    PictureLog picture;
    picture.Add(DrawCall{"tile", {1, -2, 0x0A0B0C0D, 0, 0}, nullptr});
    picture.Add(DrawCall{"text", {7, 8, 2, 0, 0}, "OKAY"});
    const std::string dump = FormatStateDump(3, play, {}, picture);

    const std::string grid = "dump 3 grid columns=1 live=" + Folded(Fnv({0xF0, 0, 0, 0, 4, 3, 2, 1})) +
                             " restore=" + Folded(Fnv({1, 0, 0, 0x80})) + "\n";
    EXPECT_NE(dump.find(grid), std::string::npos) << dump;

    std::vector<uint8_t> calls = {'t', 'i', 'l', 'e', 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x0D, 0x0C, 0x0B, 0x0A};
    calls.insert(calls.end(), 8, 0);
    calls.insert(calls.end(), {'t', 'e', 'x', 't', 7, 0, 0, 0, 8, 0, 0, 0, 2, 0, 0, 0});
    calls.insert(calls.end(), 8, 0);
    calls.insert(calls.end(), {'O', 'K'}); // only the two characters the call draws
    const std::string sum = "dump 3 picture draws=2 sum=" + Folded(Fnv(calls)) + "\n";
    EXPECT_NE(dump.find(sum), std::string::npos) << dump;
}

} // namespace
