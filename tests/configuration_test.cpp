// The configuration file: what each text gives, the written layout read back, and a failed write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <functional>
#include <string>

#include "assets/configuration.h"
#include "test_support.h"

namespace {

void Apply(const std::string& text, Settings& s)
{
    ApplyConfiguration(reinterpret_cast<const uint8_t*>(text.data()), text.size(), s);
}

void ApplyGfx(const std::string& text, Settings& s)
{
    ApplyGraphicsMode(reinterpret_cast<const uint8_t*>(text.data()), text.size(), s);
}

// Keys of a file that binds every action, so cases can leave the bindings alone.
const std::string kAllKeys = "k_jump=32\nk_pause=9\nk_start=13\nk_up=273\nk_down=274\nk_left=276\nk_right=275\n";

struct ConfigCase {
    const char* what;
    std::string text;
    std::function<void(Settings&)> expect; // applied to the built-in settings
};

TEST(Configuration, EachTextGivesItsSettings)
{
    const ConfigCase cases[] = {
        {"empty file", "", [](Settings&) {}},
        {"no k_ line unbinds every key, pads kept", "mus_volume=50\n",
         [](Settings& s) {
             for (int& k : s.keys)
                 k = -1;
             s.musicVolume = 50;
         }},
        {"letter, upper case letter, word, number",
         "k_jump=d\nk_pause=D\nk_start=space\nk_up=100\nk_down=-1\nk_left=+7 \nk_right= 12x\n",
         [](Settings& s) {
             const int keys[ActionCount] = {100, 0, 115, 100, -1, 7, 12};
             std::copy(keys, keys + ActionCount, s.keys);
         }},
        {"numbers past the int range saturate", kAllKeys + "k_up=99999999999\nk_down=-99999999999\nk_left=2147483647\n",
         [](Settings& s) {
             s.keys[ActionUp] = INT_MAX;
             s.keys[ActionDown] = INT_MIN;
             s.keys[ActionLeft] = INT_MAX;
         }},
        {"found anywhere, NUL bytes and all",
         kAllKeys + "xxmus_volume=9 sfx_volume=8\n" + std::string(1, '\0') + "k_jump=64\n\xff\xfe",
         [](Settings& s) {
             s.musicVolume = 9;
             s.sfxVolume = 8;
             s.keys[ActionJump] = 64;
         }},
        {"duplicates: the last counts", kAllKeys + "k_left=1\nk_left=2\nmus_volume=10\nmus_volume=20\n",
         [](Settings& s) {
             s.keys[ActionLeft] = 2;
             s.musicVolume = 20;
         }},
        {"the scan of an action stops once key and pad are set", kAllKeys + "j_jump=4\nk_jump=5\nk_jump=6\n",
         [](Settings& s) {
             s.keys[ActionJump] = 32;
             s.pad[ActionJump] = 4;
         }},
        {"a negative pad value keeps the default", kAllKeys + "j_jump=-1\nj_up=12\n",
         [](Settings& s) { s.pad[ActionUp] = 12; }},
        {"volumes compared unsigned", kAllKeys + "mus_volume=-5\nsfx_volume=250\n",
         [](Settings& s) {
             s.musicVolume = 100;
             s.sfxVolume = 100;
         }},
        {"volume 0 and a number past the int range", kAllKeys + "mus_volume=0\nsfx_volume=99999999999999999999\n",
         [](Settings& s) {
             s.musicVolume = 0;
             s.sfxVolume = 100;
         }},
        {"ranges clamped low",
         kAllKeys + "mpReverbDelay=10\nmpBassRange=5\nmpSurroundDelay=0\nmpReverbDepth=-3\n"
                    "mpResamplingMode=-1\n",
         [](Settings& s) {
             s.mpReverbDelay = 40;
             s.mpBassRange = 10;
             s.mpSurroundDelay = 5;
             s.mpResamplingMode = 1;
         }},
        {"ranges clamped high",
         kAllKeys + "mpReverbDelay=999\nmpSurroundDelay=99\nmpBassAmount=101\n"
                    "mpSurroundDepth=500\nmpResamplingMode=7\n",
         [](Settings& s) {
             s.mpReverbDelay = 200;
             s.mpSurroundDelay = 40;
             s.mpBassAmount = 100;
             s.mpSurroundDepth = 100;
         }},
        {"flags are only set",
         kAllKeys + "mpFlagsOVERSAMPLING=0\nmpFlagsMEGABASS=2\nmpFlagsREVERB=1\n"
                    "mpFlagsSURROUND=1\nmpResamplingMode=3\n",
         [](Settings& s) {
             s.mpFlags = kMpOversampling | kMpNoiseReduction | kMpReverb | kMpSurround;
             s.mpResamplingMode = 3;
         }},
        {"cut at the end: a k_ key needs two characters after it", "k_jump=7\nk_left=5",
         [](Settings& s) {
             for (int& k : s.keys)
                 k = -1;
             s.keys[ActionJump] = 7;
         }},
        {"cut at the end: other keys need one", kAllKeys + "sfx_volume=3", [](Settings& s) { s.sfxVolume = 3; }},
        {"cut right after the key", kAllKeys + "mus_volume=", [](Settings&) {}},
        {"binary junk", std::string("\x01\x80\0\xff=k_=\n\0", 10),
         [](Settings& s) {
             for (int& k : s.keys)
                 k = -1;
         }},
    };
    for (const ConfigCase& c : cases) {
        Settings got;
        Settings want;
        Apply(c.text, got);
        c.expect(want);
        EXPECT_TRUE(got == want) << c.what;
        // Exactly the bytes given are read: the same text cut from a longer buffer reads the same.
        const std::string longer = c.text + "9999";
        Settings cut;
        ApplyConfiguration(reinterpret_cast<const uint8_t*>(longer.data()), c.text.size(), cut);
        EXPECT_TRUE(cut == got) << c.what << ": read past the end";
    }
}

TEST(Configuration, GraphicsModeFromTheFirstGfxmode)
{
    struct Gfx {
        std::string text;
        int fullscreen, zoom, smooth, scale2x;
    };
    const Gfx cases[] = {
        {"", 1, 1, 0, 0},                       // empty: built-in values stay
        {"mus_volume=5\n", 0, 1, 0, 0},         // no key: 2, a doubled window
        {"gfxmode=8\n", 0, 0, 0, 0},            // smoothing needs zoom or full screen
        {"gfxmode=27\n", 1, 1, 1, 1},           //
        {"gfxmode=17\n", 1, 0, 0, 1},           //
        {"gfxmode=1\ngfxmode=2\n", 1, 0, 0, 0}, // the first wins
        {"gfxmode=4", 0, 0, 0, 0},              // depth bit ignored, no newline at the end
        {"x gfxmode=", 0, 0, 0, 0},             // cut after the key: atoi of nothing
    };
    for (const Gfx& c : cases) {
        Settings s;
        ApplyGfx(c.text, s);
        EXPECT_EQ(s.fullscreen, c.fullscreen) << c.text;
        EXPECT_EQ(s.zoom, c.zoom) << c.text;
        EXPECT_EQ(s.smooth, c.smooth) << c.text;
        EXPECT_EQ(s.scale2x, c.scale2x) << c.text;
        EXPECT_EQ(s.colorDepth, 16) << c.text;
    }
}

TEST(Configuration, WrittenFileReadsBackTheSameSettings)
{
    EXPECT_EQ(FormatConfiguration(Settings{}),
              "mus_volume=100\nsfx_volume=15\nj_jump=0\nj_pause=3\nj_start=7\nj_up=1\nj_down=4\nj_left=8\n"
              "j_right=2\nk_jump=32\nk_pause=9\nk_start=13\nk_up=273\nk_down=274\nk_left=276\nk_right=275\n"
              "mpFlagsOVERSAMPLING=1\nmpResamplingMode=1\nmpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\n"
              "mpReverbDepth=0\nmpReverbDelay=0\nmpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=0\n"
              "mpFlagsSURROUND=0\nmpSurroundDepth=0\nmpSurroundDelay=0\ngfxmode=3\n");

    Settings s;
    s.musicVolume = 0;
    s.sfxVolume = 55;
    const int keys[ActionCount] = {'a', 'z', 27, 302, -1, 96, 123};
    const int pad[ActionCount] = {11, 0, 2, 8, 2, 1, 4};
    std::copy(keys, keys + ActionCount, s.keys);
    std::copy(pad, pad + ActionCount, s.pad);
    s.mpFlags = kMpNoiseReduction | kMpMegabass | kMpSurround | kMpReverb | kMpOversampling;
    s.mpResamplingMode = 0;
    s.mpReverbDepth = 100;
    s.mpReverbDelay = 40;
    s.mpBassAmount = 3;
    s.mpBassRange = 100;
    s.mpSurroundDepth = 1;
    s.mpSurroundDelay = 5;
    s.fullscreen = 0;
    s.zoom = 1;
    s.smooth = 1;
    s.scale2x = 1;
    s.colorDepth = 24;
    const std::string text = FormatConfiguration(s);
    EXPECT_NE(text.find("k_jump=a\nk_pause=z\nk_start=27\n"), std::string::npos) << text;
    EXPECT_NE(text.find("gfxmode=30\n"), std::string::npos) << text;

    Settings back;
    back.mpFlags = 0;
    Apply(text, back);
    ApplyGfx(text, back);
    s.colorDepth = 16; // written, never read
    EXPECT_TRUE(back == s) << text;

    // The built-in zeros of the ranged values come back at their lowest allowed value.
    Settings built;
    Apply(FormatConfiguration(Settings{}), built);
    EXPECT_EQ(built.mpReverbDelay, 40);
    EXPECT_EQ(built.mpBassRange, 10);
    EXPECT_EQ(built.mpSurroundDelay, 5);
}

TEST(Configuration, FileWrittenWholeAndOldFileKeptOnFailure)
{
    testsupport::ScratchDir dir;
    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    settings = Settings{};
    settings.sfxVolume = 70;
    ASSERT_TRUE(WriteConfiguration());
    const std::vector<uint8_t> old = testsupport::ReadBytes("fribb3.cfg");
    EXPECT_EQ(std::string(old.begin(), old.end()), FormatConfiguration(settings));

    settings = Settings{};
    ReadConfiguration();
    EXPECT_EQ(settings.sfxVolume, 70);

    // Huge files: up to the limit read whole, quickly; above it ignored.
    for (const size_t size : {kMaxConfigSize, kMaxConfigSize + 1}) {
        std::string text(size, 'k');
        for (size_t i = 0; i + 7 < size; i += 97)
            text.replace(i, 7, "k_jump=");
        text.replace(size - 14, 14, "mus_volume=42\n");
        std::filesystem::rename(dir.Write("big", text), "fribb3.cfg");
        settings = Settings{};
        const auto start = std::chrono::steady_clock::now();
        ReadConfiguration();
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  1.0 * testsupport::kTimeFactor);
        EXPECT_EQ(settings.musicVolume, size == kMaxConfigSize ? 42 : 100) << size;
        EXPECT_EQ(settings.keys[ActionJump], size == kMaxConfigSize ? 'k' : 32) << size;
    }
    std::filesystem::rename(dir.Write("old", std::string(old.begin(), old.end())), "fribb3.cfg");

    // A disk that fills after a few bytes: the old file stays byte for byte.
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {16, 16};
        setrlimit(RLIMIT_FSIZE, &small);
        settings.musicVolume = 5;
        _exit(WriteConfiguration() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(testsupport::ExitCodeOf(status), 0);
    EXPECT_EQ(testsupport::ReadBytes("fribb3.cfg"), old);
    std::filesystem::current_path(previous);
    settings = Settings{};
}

} // namespace
