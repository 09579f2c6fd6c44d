// The savegame bytes: the worked example, round trips, refusals of damaged files, and the file on disk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "game/game_state.h"
#include "game/savegame.h"
#include "test_support.h"

namespace {

std::vector<uint8_t> Encoded(int stage, uint16_t r)
{
    std::vector<uint8_t> b(kSaveGameSize);
    EncodeSaveGame(stage, r, b.data());
    return b;
}

TEST(SaveGame, StageThreeWithWord1234IsStoredAs53AB4E4F)
{
    EXPECT_EQ(Encoded(3, 0x1234), (std::vector<uint8_t>{0x53, 0xab, 0x4e, 0x4f}));
    const uint8_t file[] = {0x53, 0xab, 0x4e, 0x4f, 0x99}; // bytes after the fourth are ignored
    EXPECT_EQ(DecodeSaveGame(file, sizeof file), 3);
    EXPECT_EQ(DecodeSaveGame(file, 3), 0) << "a short file holds no savegame";
}

TEST(SaveGame, EveryStoredStageReadsBackAndEverySingleByteChangeIsRefused)
{
    for (int stage = 1; stage <= 10; ++stage) {
        for (const uint16_t r : {0x0001, 0x00FF, 0x8000, 0xFF00, 0xFFFE, 0x4d2e, 0x1234}) {
            const std::vector<uint8_t> good = Encoded(stage, r);
            ASSERT_EQ(DecodeSaveGame(good.data(), good.size()), stage) << "r " << r;
            for (size_t i = 0; i < kSaveGameSize; ++i) {
                for (int flip = 1; flip < 256; ++flip) {
                    std::vector<uint8_t> bad = good;
                    bad[i] ^= static_cast<uint8_t>(flip);
                    ASSERT_EQ(DecodeSaveGame(bad.data(), bad.size()), 0) << "stage " << stage << " byte " << i;
                }
            }
        }
    }
}

TEST(SaveGame, StagesOutsideOneToTenAndBlankWordsAreRefused)
{
    for (const int stage : {0, 11, 255}) {
        const std::vector<uint8_t> b = Encoded(stage, 0x1234);
        EXPECT_EQ(DecodeSaveGame(b.data(), b.size()), 0) << stage;
    }
    for (const uint16_t r : {0x0000, 0xFFFF}) {
        const std::vector<uint8_t> b = Encoded(5, r);
        EXPECT_EQ(DecodeSaveGame(b.data(), b.size()), 0) << r;
    }
    EXPECT_EQ(DecodeSaveGame(nullptr, 0), 0);
}

TEST(SaveGame, AWrittenFileReadsBackAndAFailedWriteIsSilent)
{
    constexpr uintmax_t kHugeSaveGame = 65 << 20; // sparse, so it costs no disk

    testsupport::ScratchDir dir;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    EXPECT_EQ(ReadSaveGame(), 0) << "no file";
    WriteSaveGame(7);
    EXPECT_EQ(game.continueStage, 7);
    EXPECT_EQ(ReadSaveGame(), 7);
    const std::vector<uint8_t> first = testsupport::ReadBytes("savegame.dat");
    EXPECT_EQ(first.size(), kSaveGameSize);
    WriteSaveGame(7);
    EXPECT_NE(testsupport::ReadBytes("savegame.dat"), first) << "a new random word for every save";

    // Only the first four bytes count, also in a file far beyond the size of any other user file.
    WriteSaveGame(7);
    std::filesystem::resize_file("savegame.dat", kHugeSaveGame);
    EXPECT_EQ(ReadSaveGame(), 7) << "a savegame with a long tail";

    // A directory where the file should be: nothing is written, the game goes on.
    std::filesystem::remove("savegame.dat");
    std::filesystem::create_directory("savegame.dat");
    WriteSaveGame(8);
    EXPECT_EQ(game.continueStage, 8) << "remembered even when the file cannot be written";
    EXPECT_EQ(ReadSaveGame(), 0);
    ASSERT_EQ(chdir(old), 0);
}

} // namespace
