// The hiscore table: defaults, the file's round trip, every damage check, short files and insertion.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "game/hiscores.h"
#include "game/name_entry.h"
#include "platform/input.h"
#include "platform/tick_source.h"
#include "test_support.h"

namespace {

// Runs the test inside a scratch directory, where LoadHiscores finds its file.
class Hiscores : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(old_, sizeof old_), nullptr);
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        UseVirtualClock(1234);
    }
    void TearDown() override { ASSERT_EQ(chdir(old_), 0); }

    static std::vector<uint8_t> File() { return testsupport::ReadBytes("hiscores.dat"); }
    static ino_t Inode()
    {
        struct stat st {};
        return stat("hiscores.dat", &st) == 0 ? st.st_ino : 0;
    }
    // The plain bytes of the file, so a test can damage one field and store it again.
    static std::vector<uint8_t> PlainFile()
    {
        std::vector<uint8_t> b = File();
        b.resize(kHiscoreFileSize);
        UnscrambleHiscoreBytes(b.data());
        return b;
    }
    static void StorePlain(std::vector<uint8_t> plain)
    {
        ScrambleHiscoreBytes(plain.data());
        testsupport::WriteBytes("hiscores.dat", plain);
    }
    static bool AllCheaters()
    {
        for (const HiscoreEntry& r : hiscoreTable.rows)
            if (std::string(r.name) != "CHEATER" || r.kind != HiscoreCheater || r.score != kHiscoreCeiling)
                return false;
        return true;
    }

private:
    testsupport::ScratchDir dir_;
    char old_[4096] = {};
};

TEST_F(Hiscores, WithoutAFileTenDefaultRowsWithDistinctNicknamesAreMadeAndWritten)
{
    LoadHiscores();
    std::set<std::string> names;
    for (int r = 0; r < kHiscoreRows; ++r) {
        const HiscoreEntry& row = hiscoreTable.rows[r];
        const size_t length = std::strlen(row.name);
        EXPECT_TRUE(length >= 3 && length <= 7) << row.name;
        names.insert(row.name);
        EXPECT_EQ(row.kind, HiscoreDefault);
        EXPECT_GE(row.score, 1000 - 100 * r);
        EXPECT_LE(row.score, 1099 - 100 * r);
    }
    EXPECT_EQ(names.size(), 10u);
    ASSERT_EQ(File().size(), kHiscoreFileSize);
    EXPECT_EQ(File()[0], 0x6d ^ static_cast<uint8_t>(hiscoreTable.rows[0].name[0])) << "the chain starts at 0x6d";
}

TEST_F(Hiscores, AnIntactFileIsReadBackWithoutRewriting)
{
    LoadHiscores();
    std::vector<uint8_t> plain = PlainFile();
    // Row 3 made a player's entry, which keeps its name; padding is kept as read.
    std::memcpy(&plain[3 * 16], "ANNA\0\0\0\0\0", 9);
    plain[3 * 16 + 9] = HiscorePlayer;
    plain[3 * 16 + 10] = 0x77;
    StorePlain(plain);
    const std::vector<uint8_t> before = File();
    const ino_t inode = Inode();
    LoadHiscores();
    EXPECT_EQ(Inode(), inode) << "rewritten";
    EXPECT_EQ(File(), before);
    EXPECT_STREQ(hiscoreTable.rows[3].name, "ANNA");
    EXPECT_EQ(hiscoreTable.rows[3].padding[0], 0x77);
    EXPECT_NE(hiscoreTable.rows[4].name[0], '\0') << "a default row gets a nickname";
}

TEST_F(Hiscores, AnyDamagedRowTurnsTheWholeTableIntoCheatersAndRewritesIt)
{
    LoadHiscores();
    const std::vector<uint8_t> good = PlainFile();
    struct Damage {
        size_t offset; // in the row
        std::vector<uint8_t> bytes;
    };
    const Damage damages[] = {
        {8, {0x41}},                    // name byte 8 not 0
        {12, {0x51, 0xC3, 0, 0}},       // 50001
        {12, {0xFF, 0xFF, 0xFF, 0xFF}}, // -1
        {9, {3}},                       // kind 3
    };
    for (const int row : {0, 9}) {
        for (const Damage& d : damages) {
            std::vector<uint8_t> plain = good;
            std::copy(d.bytes.begin(), d.bytes.end(), plain.begin() + row * 16 + d.offset);
            StorePlain(plain);
            LoadHiscores();
            EXPECT_TRUE(AllCheaters()) << "row " << row << " offset " << d.offset;
            EXPECT_EQ(PlainFile()[9], HiscoreCheater) << "the file is rewritten";
        }
    }
    // The limits themselves are fine.
    std::vector<uint8_t> plain = good;
    plain[12] = 0x50, plain[13] = 0xC3, plain[9] = HiscoreCheater; // 50000, kind 2
    StorePlain(plain);
    LoadHiscores();
    EXPECT_FALSE(AllCheaters());
    EXPECT_EQ(hiscoreTable.rows[0].score, 50000);
}

TEST_F(Hiscores, AShortOrEmptyFileReadsAsDamaged)
{
    LoadHiscores();
    const std::vector<uint8_t> whole = File();
    for (const size_t size : {size_t{0}, size_t{100}}) {
        testsupport::WriteBytes("hiscores.dat", std::vector<uint8_t>(whole.begin(), whole.begin() + size));
        LoadHiscores();
        EXPECT_TRUE(AllCheaters()) << size;
    }
}

TEST(HiscoreInsertion, ScoresGoBelowEqualOnesAndTheLastRowFallsOut)
{
    HiscoreTable t = BuiltInHiscores(); // 1000, 900, ... 100
    EXPECT_EQ(InsertHiscore(t, "LOW", 100), -1) << "equal to the tenth does not qualify";
    EXPECT_EQ(InsertHiscore(t, "TENTH", 101), 9);
    EXPECT_EQ(InsertHiscore(t, "SAME", 500), 6) << "below the 500 already there";
    EXPECT_STREQ(t.rows[5].name, "");
    EXPECT_EQ(t.rows[7].score, 400);
    EXPECT_EQ(InsertHiscore(t, "TOPTOPTO", 1001), 0);
    EXPECT_STREQ(t.rows[0].name, "TOPTOPTO");
    EXPECT_EQ(t.rows[0].kind, HiscorePlayer);
    EXPECT_EQ(t.rows[9].score, 300) << "200 and 101 fell out";
}

} // namespace

namespace {

std::string Entered(const NameEntry& e)
{
    char name[kHiscoreNameSize];
    EnteredName(e, name);
    return name;
}

TEST(NameEntry, LettersCycleThroughTheSpaceAndTheNameIsCutAfterTheCursor)
{
    NameEntry e = StartNameEntry();
    EXPECT_EQ(Entered(e), "A") << "start held from the first frame";
    ApplyNameEntryInput(e, kButtonLeft);
    EXPECT_EQ(e.cursor, 0);
    EXPECT_EQ(e.delay, 0) << "left at the first character changes nothing";
    ApplyNameEntryInput(e, kButtonDown);
    EXPECT_EQ(e.name[0], ' ');
    EXPECT_EQ(e.delay, kNameEntryRepeatDelay);
    ApplyNameEntryInput(e, kButtonDown);
    EXPECT_EQ(e.name[0], 'Z');
    ApplyNameEntryInput(e, kButtonUp);
    ApplyNameEntryInput(e, kButtonUp);
    EXPECT_EQ(e.name[0], 'A');
    ApplyNameEntryInput(e, kButtonDown | kButtonUp);
    EXPECT_EQ(e.name[0], ' ') << "down wins over up";

    ApplyNameEntryInput(e, kButtonRight);
    ApplyNameEntryInput(e, kButtonJump);
    ApplyNameEntryInput(e, kButtonUp);
    EXPECT_STREQ(e.name, " AB.....");
    EXPECT_STREQ(e.marker, "  -     ");
    ApplyNameEntryInput(e, kButtonLeft);
    EXPECT_STREQ(e.marker, " -      ");
    EXPECT_EQ(Entered(e), " A") << "the B right of the cursor is dropped";
}

TEST(NameEntry, TheEighthMoveRightCompletesAnEightLetterName)
{
    NameEntry e = StartNameEntry();
    for (int i = 0; i < 7; ++i)
        ApplyNameEntryInput(e, kButtonPause);
    EXPECT_FALSE(e.complete);
    EXPECT_EQ(Entered(e), "AAAAAAAA");
    ApplyNameEntryInput(e, kButtonRight);
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(Entered(e), "AAAAAAAA");
}

} // namespace
