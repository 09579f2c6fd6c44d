// Fuzz target: any bytes as "savegame.dat"; only stages 1..10 are ever read, and every stage read
// is written back as bytes that read the same.
#include <cstdint>
#include <cstdlib>

#include "game/savegame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int stage = DecodeSaveGame(data, size);
    if (stage < 0 || stage > 10)
        std::abort();
    if (stage == 0 || size < kSaveGameSize)
        return 0;
    const uint16_t r = static_cast<uint16_t>(data[0] | data[1] << 8);
    uint8_t again[kSaveGameSize];
    EncodeSaveGame(stage, r == 0 || r == 0xFFFF ? 0x1234 : r, again);
    if (DecodeSaveGame(again, sizeof again) != stage)
        std::abort();
    return 0;
}
