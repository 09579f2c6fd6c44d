// The table of the ten best scores: its file "hiscores.dat", its checks and default entries, and insertion.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kHiscoreRows = 10;
constexpr int kHiscoreNameSize = 9; // up to 8 characters and the terminator
constexpr int kHiscoreNameLength = 8;
constexpr size_t kHiscoreEntryBytes = 16;
constexpr size_t kHiscoreFileSize = kHiscoreRows * kHiscoreEntryBytes;

// Who made an entry.
enum HiscoreKind : uint8_t {
    HiscorePlayer = 0,  // entered by a player; keeps its name
    HiscoreDefault = 1, // built in; its nickname is drawn anew at every start
    HiscoreCheater = 2, // put in place of a damaged file
};

// One row; its 16 plain file bytes are name (9), kind (1), padding (2), score (4, little-endian).
struct HiscoreEntry {
    char name[kHiscoreNameSize] = {}; // zero-terminated, the bytes after the terminator 0
    uint8_t kind = HiscoreDefault;
    uint8_t padding[2] = {}; // 0 when built in, kept as read from a file
    int32_t score = 0;
};

// Row 0 is the best; equal scores keep the older entry above.
struct HiscoreTable {
    HiscoreEntry rows[kHiscoreRows];
};

// The table of the run, filled by LoadHiscores.
extern HiscoreTable hiscoreTable;

// Scores above this in a file mark it damaged; damaged files become rows of this score.
constexpr int32_t kHiscoreCeiling = 50000;

// The table before anything is loaded: empty names, default kind, 1000, 900 .. 100.
HiscoreTable BuiltInHiscores();

// Scrambles 160 plain bytes in place with the file's XOR chain (seed 0x6d, each
// byte combined with the previous stored byte), and back.
void ScrambleHiscoreBytes(uint8_t* bytes);
void UnscrambleHiscoreBytes(uint8_t* bytes);

// The table as its 160 stored (scrambled) file bytes.
void EncodeHiscores(const HiscoreTable& table, uint8_t* out);

// Reads size stored file bytes (at most 160 are used) over the plain bytes of
// table, as the file is read over the table in memory, and unscrambles all 160:
// bytes a short file does not reach are unscrambled too. No checks.
void DecodeHiscores(const uint8_t* data, size_t size, HiscoreTable& table);

// True when a row read from a file cannot be right: name byte 8 not 0, score
// below 0 or above 50000, or an unknown kind.
bool HiscoreRowDamaged(const HiscoreEntry& row);

// The checks after reading a file, row by row: an intact row with an empty
// name or of the default kind gets a fresh nickname; at the first damaged row
// every row becomes "CHEATER" with 50000. True in that case (the file must be
// written again).
bool CheckHiscores(HiscoreTable& table);

// Marks all nicknames free for a new table build.
void FreeAllNicknames();

// Gives row a nickname not yet used since FreeAllNicknames, picked with rand().
void DrawNickname(HiscoreEntry& row);

// Fills the table of the run: from "hiscores.dat" when it exists (checked as
// CheckHiscores says, and written back when damaged), else a default table
// (generator seeded with the tick count, nicknames, each built-in score plus
// rand() mod 100), which is written at once.
void LoadHiscores();

// Writes the table of the run to "hiscores.dat" without ever losing the old
// file: a failed write leaves it as it was and is ignored.
void SaveHiscores();

// True when score earns a row: above the tenth row's score.
bool HiscoreQualifies(const HiscoreTable& table, int score);

// Puts (name, score) in below every row of at least that score; the last row
// falls out. Returns the new row, or -1 when the score does not qualify.
int InsertHiscore(HiscoreTable& table, const char* name, int score);
