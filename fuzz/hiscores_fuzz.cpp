// Fuzz target: any bytes as "hiscores.dat"; reading and checking keep the table sound, and a
// checked table written out reads back the same.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/hiscores.h"

namespace {

bool SameRow(const HiscoreEntry& a, const HiscoreEntry& b)
{
    return std::memcmp(a.name, b.name, sizeof a.name) == 0 && a.kind == b.kind && a.score == b.score;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HiscoreTable table = BuiltInHiscores();
    DecodeHiscores(data, size, table);
    FreeAllNicknames();
    CheckHiscores(table);
    for (const HiscoreEntry& row : table.rows) {
        // After the checks every row is one a player could see and keep.
        if (HiscoreRowDamaged(row) || row.name[kHiscoreNameLength] != 0)
            std::abort();
    }
    uint8_t stored[kHiscoreFileSize];
    EncodeHiscores(table, stored);
    HiscoreTable again = BuiltInHiscores();
    DecodeHiscores(stored, sizeof stored, again);
    for (int i = 0; i < kHiscoreRows; ++i)
        if (!SameRow(table.rows[i], again.rows[i]))
            std::abort();
    // Any score either earns no row or stands in the row it was given.
    const int32_t score = size >= 3 ? static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16) : 0;
    const int row = InsertHiscore(again, "FUZZ", score);
    if (row < -1 || row >= kHiscoreRows || (row >= 0 && again.rows[row].score != score))
        std::abort();
    return 0;
}
