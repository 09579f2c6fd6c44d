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
#include "test_support.h"
#include "tests/music_test_module.h"

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

TEST_F(MusicLoadTest, ModulesLoadFromTheMusicArchiveByIdAndBadOnesGiveNothing)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("fribb3_music_" + std::to_string(getpid()) + ".zda");
    const std::vector<uint8_t> good = music_test::MakeTinyMod();
    const std::string junk = "definitely not a module";
    testsupport::WriteArchiveFile(path, {
                                            {"1.labyrinth.mod", good},
                                            {"2.anctemple.mod", std::vector<uint8_t>(junk.begin(), junk.end())},
                                        });
    OpenArchiveFile(ArchiveMusic, path.c_str());

    musicLoopsLeft = 0;
    MusicModule* m = LoadMusic(1);
    EXPECT_NE(m, nullptr);
    EXPECT_EQ(musicLoopsLeft, -1);
    FreeMusic(m);
    EXPECT_EQ(LoadMusic(2), nullptr) << "corrupt";
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

} // namespace
