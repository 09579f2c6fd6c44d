// Hiscore table: file bytes and their XOR chain, checks, nicknames, loading, saving and insertion.
#include "game/hiscores.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/archive.h"
#include "assets/user_file.h"
#include "platform/tick_source.h"

HiscoreTable hiscoreTable = BuiltInHiscores();

namespace {

constexpr uint8_t kChainSeed = 0x6d;
// Built-in scores fall by this much per row from the top one.
constexpr int32_t kBuiltInTop = 1000;
constexpr int32_t kBuiltInStep = 100;
// Default entries get up to this much less than one step on top of their built-in score.
constexpr int kDefaultScoreSpread = 100;
// Offsets inside one entry's bytes.
constexpr size_t kKindOffset = 9;
constexpr size_t kPaddingOffset = 10;
constexpr size_t kScoreOffset = 12;

constexpr int kNicknameCount = 17;
const char* const kNicknames[kNicknameCount] = {
    "ZAPPO", "KIWI",  "MOLLY", "BRUNO", "TIX",  "RAGGA", "PIPPA",  "DOZER", "FUZZ",
    "NIKKO", "OMBRA", "QUIRK", "SALLY", "TOBO", "VEGA",  "WOMBAT", "YETI",
};
bool nicknameUsed[kNicknameCount] = {};

constexpr const char* kCheaterName = "CHEATER";

void SetName(HiscoreEntry& row, const char* name)
{
    std::memset(row.name, 0, sizeof row.name);
    std::strncpy(row.name, name, kHiscoreNameLength);
}

// The plain (unscrambled) bytes of a table.
void TableToBytes(const HiscoreTable& table, uint8_t* out)
{
    for (int r = 0; r < kHiscoreRows; ++r) {
        const HiscoreEntry& e = table.rows[r];
        uint8_t* b = out + r * kHiscoreEntryBytes;
        std::memcpy(b, e.name, kHiscoreNameSize);
        b[kKindOffset] = e.kind;
        b[kPaddingOffset] = e.padding[0];
        b[kPaddingOffset + 1] = e.padding[1];
        const uint32_t s = static_cast<uint32_t>(e.score);
        for (int i = 0; i < 4; ++i)
            b[kScoreOffset + i] = static_cast<uint8_t>(s >> (8 * i));
    }
}

void BytesToTable(const uint8_t* in, HiscoreTable& table)
{
    for (int r = 0; r < kHiscoreRows; ++r) {
        HiscoreEntry& e = table.rows[r];
        const uint8_t* b = in + r * kHiscoreEntryBytes;
        std::memcpy(e.name, b, kHiscoreNameSize);
        e.kind = b[kKindOffset];
        e.padding[0] = b[kPaddingOffset];
        e.padding[1] = b[kPaddingOffset + 1];
        uint32_t s = 0;
        for (int i = 0; i < 4; ++i)
            s |= static_cast<uint32_t>(b[kScoreOffset + i]) << (8 * i);
        e.score = static_cast<int32_t>(s);
    }
}

const char* HiscorePath()
{
    return BuildPath("hiscores", "dat");
}

} // namespace

HiscoreTable BuiltInHiscores()
{
    HiscoreTable t;
    for (int r = 0; r < kHiscoreRows; ++r)
        t.rows[r].score = kBuiltInTop - kBuiltInStep * r;
    return t;
}

void ScrambleHiscoreBytes(uint8_t* bytes)
{
    uint8_t previous = kChainSeed;
    for (size_t i = 0; i < kHiscoreFileSize; ++i) {
        bytes[i] ^= previous;
        previous = bytes[i];
    }
}

void UnscrambleHiscoreBytes(uint8_t* bytes)
{
    uint8_t previous = kChainSeed;
    for (size_t i = 0; i < kHiscoreFileSize; ++i) {
        const uint8_t stored = bytes[i];
        bytes[i] ^= previous;
        previous = stored;
    }
}

void EncodeHiscores(const HiscoreTable& table, uint8_t* out)
{
    TableToBytes(table, out);
    ScrambleHiscoreBytes(out);
}

void DecodeHiscores(const uint8_t* data, size_t size, HiscoreTable& table)
{
    uint8_t bytes[kHiscoreFileSize];
    TableToBytes(table, bytes);
    std::memcpy(bytes, data, size < kHiscoreFileSize ? size : kHiscoreFileSize);
    UnscrambleHiscoreBytes(bytes);
    BytesToTable(bytes, table);
}

bool HiscoreRowDamaged(const HiscoreEntry& row)
{
    return row.name[kHiscoreNameLength] != 0 || row.score < 0 || row.score > kHiscoreCeiling ||
           row.kind > HiscoreCheater;
}

bool CheckHiscores(HiscoreTable& table)
{
    for (HiscoreEntry& row : table.rows) {
        if (HiscoreRowDamaged(row)) {
            for (HiscoreEntry& r : table.rows) {
                SetName(r, kCheaterName);
                r.kind = HiscoreCheater;
                r.score = kHiscoreCeiling;
            }
            return true;
        }
        if (row.name[0] == '\0' || row.kind == HiscoreDefault)
            DrawNickname(row);
    }
    return false;
}

void FreeAllNicknames()
{
    for (bool& used : nicknameUsed)
        used = false;
}

void DrawNickname(HiscoreEntry& row)
{
    int i = std::rand() % kNicknameCount;
    // More rows than nicknames cannot happen in one table; the bound keeps the walk finite anyway.
    for (int tries = 0; nicknameUsed[i] && tries < kNicknameCount; ++tries)
        i = (i + 1) % kNicknameCount;
    nicknameUsed[i] = true;
    SetName(row, kNicknames[i]);
}

void LoadHiscores()
{
    hiscoreTable = BuiltInHiscores();
    FreeAllNicknames();
    std::FILE* file = OpenForReading(HiscorePath());
    if (!file) {
        std::srand(GetTicks());
        for (int r = 0; r < kHiscoreRows; ++r) {
            HiscoreEntry& row = hiscoreTable.rows[r];
            DrawNickname(row);
            row.kind = HiscoreDefault;
            row.score += std::rand() % kDefaultScoreSpread;
        }
        SaveHiscores();
        return;
    }
    uint8_t data[kHiscoreFileSize];
    const size_t got = std::fread(data, 1, sizeof data, file);
    std::fclose(file);
    DecodeHiscores(data, got, hiscoreTable);
    if (CheckHiscores(hiscoreTable))
        SaveHiscores();
}

void SaveHiscores()
{
    uint8_t bytes[kHiscoreFileSize];
    EncodeHiscores(hiscoreTable, bytes);
    ReplaceUserFile(HiscorePath(), bytes, sizeof bytes);
}

bool HiscoreQualifies(const HiscoreTable& table, int score)
{
    return score > table.rows[kHiscoreRows - 1].score;
}

int InsertHiscore(HiscoreTable& table, const char* name, int score)
{
    if (!HiscoreQualifies(table, score))
        return -1;
    int r = kHiscoreRows - 1;
    while (r > 0 && table.rows[r - 1].score < score) {
        table.rows[r] = table.rows[r - 1];
        --r;
    }
    HiscoreEntry& row = table.rows[r];
    SetName(row, name);
    row.kind = HiscorePlayer;
    row.score = score;
    return r;
}
