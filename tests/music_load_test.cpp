// Which bytes may reach the module library, and loading modules by id from the music archive.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "audio/music.h"
#include "audio/music_hook.h"
#include "tests/music_test_module.h"
#include "test_support.h"

namespace {

bool Sniff(const std::vector<uint8_t>& bytes)
{
    return LooksLikeShippedModule(bytes.data(), bytes.size());
}

// Loads through the game's gate and frees again; true when a module came back.
bool Loads(const std::vector<uint8_t>& bytes)
{
    MusicModule* m = LoadMusicFromMemory(bytes.data(), bytes.size());
    FreeMusic(m);
    return m != nullptr;
}

// A minimal FastTracker 2 module: the fixed header, an order table, one empty pattern
// and one instrument without samples.
std::vector<uint8_t> MakeTinyXm()
{
    constexpr size_t kHeaderSizeField = 60;
    constexpr uint32_t kHeaderSize = 276; // counted from the header-size field
    constexpr size_t kPatternHeader = 9;
    constexpr size_t kLibraryXmMinSize = 512; // the library refuses shorter XM files
    constexpr size_t kInstrumentHeader = 29; // size, name, type, sample count 0
    std::vector<uint8_t> m(kHeaderSizeField + kHeaderSize + kPatternHeader + kInstrumentHeader, 0);
    std::memcpy(m.data(), "Extended Module: ", 17);
    std::memcpy(&m[17], "fribb3 test", 11);
    m[37] = 0x1A;
    std::memcpy(&m[38], "fribb3", 6);
    m[58] = 0x04; // version 1.04
    m[59] = 0x01;
    WriteLe32(&m[60], kHeaderSize);
    m[64] = 1;   // song length
    m[68] = 4;   // channels
    m[70] = 1;   // patterns
    m[72] = 1;   // instruments
    m[76] = 6;   // speed
    m[78] = 125; // tempo
    const size_t pattern = kHeaderSizeField + kHeaderSize;
    m[pattern] = 9;      // pattern header length
    m[pattern + 5] = 64; // rows; packed size 0 means an empty pattern
    const size_t instrument = pattern + kPatternHeader;
    WriteLe32(&m[instrument], kInstrumentHeader);
    std::memcpy(&m[instrument + 4], "silence", 7);
    m.resize(kLibraryXmMinSize, 0);
    return m;
}

class MusicLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMusicOutputFormat(22050, 2);
        ApplyMusicSettings();
    }
};

TEST_F(MusicLoadTest, ThirtyOneSampleModsWithOurSignaturesLoad)
{
    for (const char* sig : {"M.K.", "M!K!", "FLT4", "4CHN"}) {
        SCOPED_TRACE(sig);
        music_test::TinyModOptions o;
        o.signature = sig;
        EXPECT_TRUE(Sniff(music_test::MakeTinyMod(o)));
        EXPECT_TRUE(Loads(music_test::MakeTinyMod(o)));
    }
    for (int channels : {6, 8}) {
        music_test::TinyModOptions o;
        o.channels = channels;
        const std::vector<uint8_t> bytes = music_test::MakeTinyMod(o);
        MusicModule* m = LoadMusicFromMemory(bytes.data(), bytes.size());
        ASSERT_NE(m, nullptr) << channels;
        EXPECT_EQ(ModPlug_NumChannels(m->file), static_cast<unsigned>(channels));
        FreeMusic(m);
    }
}

TEST_F(MusicLoadTest, FifteenSampleModIsRefusedThoughTheLibraryWouldTakeIt)
{
    const std::vector<uint8_t> old = music_test::MakeFifteenSampleMod();
    ModPlugFile* direct = ModPlug_Load(old.data(), static_cast<int>(old.size()));
    EXPECT_NE(direct, nullptr) << "the library's own loader accepts it, so the gate is what refuses";
    if (direct)
        ModPlug_Unload(direct);
    EXPECT_FALSE(Sniff(old));
    EXPECT_FALSE(Loads(old));
}

TEST_F(MusicLoadTest, NearMissesAndShortDataAreRefused)
{
    std::vector<uint8_t> mod = music_test::MakeTinyMod();
    // Signatures that look close but are not ours.
    for (const char* sig : {"M.K ", "m.k.", "0CHN", "XCHN", "1XCH", "FLT5"}) {
        std::memcpy(&mod[1080], sig, 4);
        EXPECT_FALSE(Sniff(mod)) << sig;
    }
    // The right signature one byte off its place.
    mod = music_test::MakeTinyMod();
    std::memmove(&mod[1081], &mod[1080], 4);
    mod[1080] = 0;
    EXPECT_FALSE(Sniff(mod));

    // Too short to hold what the check looks at.
    mod = music_test::MakeTinyMod();
    EXPECT_FALSE(LooksLikeShippedModule(mod.data(), 1083));
    EXPECT_TRUE(LooksLikeShippedModule(mod.data(), 1084));
    EXPECT_FALSE(LooksLikeShippedModule(mod.data(), 0));
    EXPECT_FALSE(LooksLikeShippedModule(nullptr, 5000));
    const std::vector<uint8_t> xm = MakeTinyXm();
    EXPECT_FALSE(LooksLikeShippedModule(xm.data(), 20));
    const uint8_t pp[] = {'P', 'P', '2', '0'};
    EXPECT_FALSE(LooksLikeShippedModule(pp, sizeof pp));
    EXPECT_EQ(LoadMusicFromMemory(nullptr, 0), nullptr);
}

TEST_F(MusicLoadTest, ModulesLoadFromTheMusicArchiveByIdAndBadOnesGiveNothing)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fribb3_music_" + std::to_string(getpid()) + ".zda");
    const std::vector<uint8_t> good = music_test::MakeTinyMod();
    const std::string junk = "definitely not a module";
    testsupport::WriteArchiveFile(path, {
                                            {"1.labyrinth.mod", good},
                                            {"2.anctemple.mod", std::vector<uint8_t>(junk.begin(), junk.end())},
                                            {"3.happytimes.mod", music_test::MakeFifteenSampleMod()},
                                        });
    OpenArchiveFile(ArchiveMusic, path.c_str());

    musicLoopsLeft = 0;
    MusicModule* m = LoadMusic(1);
    EXPECT_NE(m, nullptr);
    EXPECT_EQ(musicLoopsLeft, -1);
    FreeMusic(m);
    EXPECT_EQ(LoadMusic(2), nullptr) << "corrupt";
    EXPECT_EQ(LoadMusic(3), nullptr) << "not a shape we ship";
    EXPECT_EQ(LoadMusic(4), nullptr) << "missing";
    EXPECT_EQ(LoadMusic(-1), nullptr);
    EXPECT_EQ(LoadMusic(kMusicCount), nullptr);
    // Nothing to play is no error: the game goes on in silence.
    PlayMusicFadingIn(nullptr);
    EXPECT_FALSE(MusicPlaying());

    CloseArchives();
    std::filesystem::remove(path);
}

} // namespace

namespace {

TEST(MusicShippedTest, EveryBuiltModulePassesTheGateAndLoads)
{
    SetMusicOutputFormat(22050, 2);
    OpenArchiveFile(ArchiveMusic, FRIBB3_BINARY_DIR "/data/music.zda");
    for (int id = 0; id < kMusicCount; ++id) {
        SCOPED_TRACE(kMusicNames[id]);
        size_t size = 0;
        uint8_t* raw = ReadArchiveEntry(ArchiveMusic, kMusicNames[id], "mod", &size);
        ASSERT_NE(raw, nullptr) << "entry missing from music.zda";
        EXPECT_TRUE(LooksLikeShippedModule(raw, size));
        std::free(raw);
        MusicModule* m = LoadMusic(id);
        EXPECT_NE(m, nullptr);
        FreeMusic(m);
    }
    CloseArchives();
}

} // namespace
