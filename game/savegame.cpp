// Savegame bytes: the stage twice, once XORed with a random word, the whole word masked.
#include "game/savegame.h"

#include <cstdio>
#include <cstdlib>

#include "assets/archive.h"
#include "assets/user_file.h"
#include "core/stages.h"
#include "game/game_state.h"

namespace {

constexpr uint32_t kSaveMask = 0x5e7a9c41;
// Random words that cannot be told from blank or erased bytes.
constexpr uint16_t kNoWordLow = 0;
constexpr uint16_t kNoWordHigh = 0xFFFF;
// Used when ten draws gave only such words.
constexpr uint16_t kFallbackWord = 0x4d2e;
constexpr int kWordDraws = 10;
// The stage stands in both bytes of a 16-bit word.
constexpr int kBothBytes = 257;

bool UsableWord(uint32_t r)
{
    return r != kNoWordLow && r != kNoWordHigh;
}

const char* SaveGamePath()
{
    return BuildPath("savegame", "dat");
}

} // namespace

int DecodeSaveGame(const uint8_t* data, size_t size)
{
    if (!data || size < kSaveGameSize)
        return 0;
    const uint32_t w = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24);
    const uint32_t p = w ^ kSaveMask;
    const uint32_t p0 = p & 0xFF, p1 = (p >> 8) & 0xFF, p2 = (p >> 16) & 0xFF, p3 = p >> 24;
    const uint32_t r = p0 * 256 + p2;
    if (!UsableWord(r))
        return 0;
    const uint32_t v = (p3 * 256 + p1) ^ r;
    if ((v >> 8) != (v & 0xFF))
        return 0;
    const int stage = static_cast<int>(v & 0xFF);
    return stage >= kFirstStage && stage <= kLastStage ? stage : 0;
}

void EncodeSaveGame(int stage, uint16_t r, uint8_t* out)
{
    const uint32_t v = (static_cast<uint32_t>(stage) * kBothBytes) ^ r;
    const uint32_t p = (r >> 8) | ((v & 0xFF) << 8) | (static_cast<uint32_t>(r & 0xFF) << 16) | ((v >> 8) << 24);
    const uint32_t w = p ^ kSaveMask;
    for (size_t i = 0; i < kSaveGameSize; ++i)
        out[i] = static_cast<uint8_t>(w >> (8 * i));
}

uint16_t DrawSaveGameWord()
{
    for (int i = 0; i < kWordDraws; ++i) {
        const uint32_t r = static_cast<uint32_t>(std::rand()) & 0xFFFF;
        if (UsableWord(r))
            return static_cast<uint16_t>(r);
    }
    return kFallbackWord;
}

int ReadSaveGame()
{
    // Only the first four bytes count, however long the file is.
    std::FILE* file = OpenForReading(SaveGamePath());
    if (!file)
        return 0;
    uint8_t bytes[kSaveGameSize];
    const size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    return DecodeSaveGame(bytes, got);
}

void WriteSaveGame(int c)
{
    uint8_t bytes[kSaveGameSize];
    EncodeSaveGame(c, DrawSaveGameWord(), bytes);
    ReplaceUserFile(SaveGamePath(), bytes, sizeof bytes);
    game.continueStage = c;
}
