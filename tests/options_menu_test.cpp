// The options screen's rows and repeat rule, key and pad capture, and the release wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/settings.h"
#include "core/sound.h"
#include "game/game_state.h"
#include "game/options_menu.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/key_capture.h"
#include "platform/release_wait.h"
#include "platform/tick_source.h"
#include "test_support.h"

namespace {

constexpr int kKeyA = 'a';
constexpr int kKeyEscape = 27;
constexpr int kKeyTableSize = 323;

uint8_t keys[kKeyTableSize];
std::vector<int> sounds;
int looks = 0;
int releaseAfterLooks = 0; // the held key goes up at this look

void CountLook()
{
    if (++looks == releaseAfterLooks)
        keys[kKeyA] = 0;
}

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        Fresh();
        SetSoundPlayer([](int id) { sounds.push_back(id); });
        SimulateReleaseWait(keys, kKeyTableSize, CountLook);
        UseVirtualClock(0);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    // Built-in settings, no input, the screen just entered.
    void Fresh()
    {
        settings = Settings{};
        input = InputState{};
        game = GameState{};
        game.menuState = kMenuOptionsScreen;
        ResetOptionsMenu();
        std::fill(std::begin(keys), std::end(keys), 0);
        looks = 0;
        releaseAfterLooks = 0;
        sounds.clear();
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        SimulateReleaseWait(nullptr, 0, nullptr);
        SimulateJoystick(0);
        SetSoundPlayer(nullptr);
        UseRealClock();
        settings = Settings{};
    }
    // One frame of the screen with a button released in it.
    void Frame(uint32_t released, uint32_t held = 0)
    {
        input.released = released;
        input.held = held;
        OptionsStep();
    }
    bool ConfigWritten() const { return std::filesystem::exists(dir_ / "fribb3.cfg"); }

    testsupport::ScratchDir dir_;
    std::filesystem::path previous_;
};

struct RowCase {
    const char* what;
    int cursor;
    uint32_t button;
    std::function<void(Settings&)> before, after;
    int cursorAfter;
    int restartNeeded;
};

TEST_F(Options, ValuesAndCursorMove)
{
    auto screen = [](int zoom, int fullscreen) {
        return [=](Settings& s) {
            s.zoom = zoom;
            s.fullscreen = fullscreen;
        };
    };
    auto none = [](Settings&) {};
    const RowCase cases[] = {
        {"music 3 - 5", RowMusicVolume, kButtonLeft, [](Settings& s) { s.musicVolume = 3; },
         [](Settings& s) { s.musicVolume = 0; }, RowMusicVolume, 0},
        {"music 97 + 5", RowMusicVolume, kButtonRight, [](Settings& s) { s.musicVolume = 97; },
         [](Settings& s) { s.musicVolume = 100; }, RowMusicVolume, 0},
        {"effects 15 + 5", RowSfxVolume, kButtonRight, none, [](Settings& s) { s.sfxVolume = 20; }, RowSfxVolume, 0},
        {"full screen, zoom off, right", RowScreenSettings, kButtonRight, screen(0, 1), screen(0, 0), RowScreenSettings,
         1},
        {"full screen left", RowScreenSettings, kButtonLeft, screen(1, 1), screen(1, 0), RowScreenSettings, 1},
        {"1x right", RowScreenSettings, kButtonRight, screen(0, 0), screen(1, 0), RowScreenSettings, 1},
        {"1x left", RowScreenSettings, kButtonLeft, screen(0, 0), screen(1, 1), RowScreenSettings, 1},
        {"2x right", RowScreenSettings, kButtonRight, screen(1, 0), screen(1, 1), RowScreenSettings, 1},
        {"2x left", RowScreenSettings, kButtonLeft, screen(1, 0), screen(0, 0), RowScreenSettings, 1},
        {"anti-aliasing clears smoothing", RowAntiAliasing, kButtonLeft, [](Settings& s) { s.smooth = 1; },
         [](Settings& s) {
             s.scale2x = 1;
             s.smooth = 0;
         },
         RowAntiAliasing, 1},
        {"up from the first row", RowConfigureKeys, kButtonUp, none, none, RowBackToMenu, 0},
        {"down from the last row", RowBackToMenu, kButtonDown, none, none, RowConfigureKeys, 0},
    };
    for (const RowCase& c : cases) {
        Fresh();
        optionsMenu.optionsCursor = c.cursor;
        c.before(settings);
        Settings want = settings;
        c.after(want);
        Frame(c.button);
        EXPECT_TRUE(settings == want) << c.what;
        EXPECT_EQ(optionsMenu.optionsCursor, c.cursorAfter) << c.what;
        EXPECT_EQ(optionsMenu.restartNeeded, c.restartNeeded) << c.what;
        EXPECT_EQ(optionsMenu.configDirty, c.cursor == c.cursorAfter ? 1 : 0) << c.what;
        EXPECT_EQ(sounds, c.cursor == RowSfxVolume ? std::vector<int>{SoundTada} : std::vector<int>{}) << c.what;
        EXPECT_EQ(optionsMenu.repeatDelay, kOptionsRepeatDelay) << c.what;
    }
}

TEST_F(Options, HeldButtonActsEveryEleventhFrame)
{
    optionsMenu.optionsCursor = RowMusicVolume;
    settings.musicVolume = 50;
    for (int frame = 0; frame < 23; ++frame)
        Frame(0, kButtonRight);
    EXPECT_EQ(settings.musicVolume, 65); // frames 0, 11 and 22
}

TEST_F(Options, ConfirmedRows)
{
    // BACK TO MENU works during the repeat delay, and writes only after a change.
    optionsMenu.optionsCursor = RowBackToMenu;
    optionsMenu.repeatDelay = 5;
    Frame(kButtonStart);
    EXPECT_EQ(game.menuState, kMenuOptions);
    EXPECT_FALSE(ConfigWritten());
    game.menuState = kMenuOptionsScreen;
    optionsMenu.configDirty = 1;
    Frame(kButtonJump);
    EXPECT_TRUE(ConfigWritten());

    // RESET TO DEFAULT: bindings and volumes, not the screen, and no sample.
    optionsMenu = OptionsMenu{};
    optionsMenu.optionsCursor = RowResetToDefault;
    settings.keys[ActionJump] = kKeyA;
    settings.pad[ActionStart] = 1;
    settings.musicVolume = 5;
    settings.sfxVolume = 5;
    settings.zoom = 0;
    Frame(kButtonStart);
    Settings want;
    want.zoom = 0;
    EXPECT_TRUE(settings == want);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(optionsMenu.configDirty, 1);

    // CONFIGURE PAD without a joystick changes nothing worth saving.
    optionsMenu = OptionsMenu{};
    optionsMenu.optionsCursor = RowConfigurePad;
    Frame(kButtonStart);
    EXPECT_EQ(capture.captureActive, 0);
    EXPECT_EQ(optionsMenu.configDirty, 0);
    EXPECT_TRUE(settings == want);

    // With one: the three buttons are unbound, the hat kept.
    SimulateJoystick(8);
    Frame(kButtonStart);
    EXPECT_EQ(capture.captureActive, 1);
    EXPECT_EQ(optionsMenu.configDirty, 1);
    const int pad[ActionCount] = {-1, -1, -1, 1, 4, 8, 2};
    EXPECT_TRUE(std::equal(pad, pad + ActionCount, settings.pad));
}

TEST_F(Options, KeyCaptureRefusesBoundKeysAndEndsAfterTheSeventh)
{
    optionsMenu.optionsCursor = RowConfigureKeys;
    Frame(kButtonStart);
    ASSERT_EQ(capture.captureActive, 1);
    for (int k : settings.keys)
        EXPECT_EQ(k, -1);
    const int offered[] = {kKeyA, kKeyA, 0, 'b', kKeyEscape, 'c', 'd', 'e', 'f'};
    const int stepAfter[] = {1, 1, 1, 2, 3, 4, 5, 6, 7};
    const int duplicateAfter[] = {0, 1, 1, 0, 0, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(offered); ++i) {
        input.lastKey = offered[i];
        CaptureKey(&settings.keys[kKeyCaptureOrder[capture.captureStep]]);
        EXPECT_EQ(capture.captureStep, stepAfter[i]) << i;
        EXPECT_EQ(capture.captureDuplicate, duplicateAfter[i]) << i;
        EXPECT_EQ(input.lastKey, 0) << "the release wait forgets the key";
    }
    EXPECT_EQ(capture.captureActive, 0);
    const int want[ActionCount] = {'e', 'f', kKeyA, 'c', 'd', 'b', kKeyEscape};
    EXPECT_TRUE(std::equal(want, want + ActionCount, settings.keys));
}

TEST_F(Options, PadCaptureNoticeLastsOneFrame)
{
    for (int a : kPadCaptureOrder)
        settings.pad[a] = -1;
    capture.captureActive = 1;
    capture.captureStep = 0;
    const int offered[] = {3, 3, -1, 0, 5};
    const int duplicateAfter[] = {0, 1, 0, 0, 0};
    for (size_t i = 0; i < std::size(offered); ++i) {
        input.lastPadButton = offered[i];
        CapturePadButton(&settings.pad[kPadCaptureOrder[capture.captureStep]]);
        EXPECT_EQ(capture.captureDuplicate, duplicateAfter[i]) << i;
        EXPECT_EQ(input.lastPadButton, -1);
    }
    EXPECT_EQ(capture.captureActive, 0);
    EXPECT_EQ(settings.pad[ActionStart], 3);
    EXPECT_EQ(settings.pad[ActionJump], 0);
    EXPECT_EQ(settings.pad[ActionPause], 5);
}

TEST_F(Options, ReleaseWaitSleepsUntilNothingIsHeld)
{
    // Nothing held: one look after one sleep; lock keys never count.
    keys[kKeyCapsLock] = keys[kKeyNumLock] = keys[kKeyScrollLock] = 1;
    input = InputState{1, 2, 3, 4, 0};
    WaitAllReleased();
    EXPECT_EQ(looks, 1);
    EXPECT_EQ(GetTicks(), kReleasePollMs);
    EXPECT_EQ(input.held, 0u);
    EXPECT_EQ(input.released, 0u);
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastPadButton, -1);

    // A key held for three looks, then a pad button of the joystick.
    keys[kKeyA] = 1;
    releaseAfterLooks = 4;
    WaitAllReleased();
    EXPECT_EQ(looks, 4);
    SimulateJoystick(4);
    SetSimulatedButton(3, true);
    releaseAfterLooks = 0;
    looks = 0;
    SimulateReleaseWait(keys, kKeyTableSize, [] {
        if (++looks == 2)
            SetSimulatedButton(3, false);
    });
    WaitAllReleased();
    EXPECT_EQ(looks, 2);
    EXPECT_EQ(GetTicks(), 6 * kReleasePollMs);
}

} // namespace
