// The options screen: the list, its repeat rule, the capture sequences and the layer drawn over the title.
#include "game/options_menu.h"

#include <cstdio>

#include "assets/configuration.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "core/messages.h"
#include "core/settings.h"
#include "core/sound.h"
#include "game/game_state.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/key_capture.h"
#include "platform/release_wait.h"

OptionsMenu optionsMenu;

namespace {

// Layout: text top edges and columns.
constexpr int kTitleY = 64;
constexpr int kVersionY = 216;
constexpr int kRestartY = 88;
constexpr int kFirstRowY = 100;
constexpr int kRowSpacing = 10;
constexpr int kBackRowY = 178; // BACK TO MENU stands apart from the others
constexpr int kCursorX = 14;
constexpr int kLabelX = 24;
constexpr int kValueX = 192;
constexpr int kPromptY = 124;
constexpr int kDuplicateY = 140;

// Volumes as they come out of RESET TO DEFAULT.
constexpr int kDefaultMusicVolume = 100;
constexpr int kDefaultSfxVolume = 15;

// Percent to the mixer's 0..128 scale.
int MixerVolume(int percent)
{
    return percent * 128 / 100;
}

int RowY(int row)
{
    return row == RowBackToMenu ? kBackRowY : kFirstRowY + kRowSpacing * row;
}

// A button counts when it was released in this frame or is held.
bool Counts(uint32_t button)
{
    return input.released == button || (input.held & button) != 0;
}

int StepVolume(int volume, int delta)
{
    const int v = volume + delta;
    return v < 0 ? 0 : v > 100 ? 100 : v;
}

// WINDOWED 1X -> WINDOWED 2X -> FULL SCREEN -> WINDOWED 1X to the right, the other way to the left.
void CycleScreen(bool right)
{
    Settings& s = settings;
    if (s.fullscreen) {
        s.zoom = right ? 0 : 1;
        s.fullscreen = 0;
    } else if (!s.zoom) {
        s.zoom = 1;
        s.fullscreen = right ? 0 : 1;
    } else {
        s.zoom = right ? 1 : 0;
        s.fullscreen = right ? 1 : 0;
    }
}

// Start or jump on a row.
void Confirm()
{
    WaitAllReleased();
    OptionsMenu& m = optionsMenu;
    const int row = m.optionsCursor;
    if (row == RowConfigureKeys || (row == RowConfigurePad && JoystickPresent())) {
        if (row == RowConfigureKeys) {
            for (int& key : settings.keys)
                key = -1;
        } else {
            for (int action : kPadCaptureOrder)
                settings.pad[action] = -1;
        }
        capture.captureActive = 1;
        capture.captureDuplicate = 0;
        m.configDirty = 1;
    }
    if (row == RowConfigureKeys || row == RowConfigurePad) {
        capture.captureStep = 0;
        m.repeatDelay = kOptionsRepeatDelay;
    } else if (row == RowResetToDefault) {
        ResetBindings();
        settings.musicVolume = kDefaultMusicVolume;
        SetMusicVolume(MixerVolume(kDefaultMusicVolume));
        settings.sfxVolume = kDefaultSfxVolume;
        SetEffectsVolume(MixerVolume(kDefaultSfxVolume));
        m.configDirty = 1;
        m.repeatDelay = kOptionsRepeatDelay;
    } else if (row == RowBackToMenu) {
        game.menuState = kMenuOptions;
        if (m.configDirty)
            WriteConfiguration();
    }
}

// Up, down, or a value change on the current row; true when something was done.
bool Act()
{
    OptionsMenu& m = optionsMenu;
    const bool right = Counts(kButtonRight);
    const bool sideways = right || Counts(kButtonLeft);
    const int delta = right ? kVolumeStep : -kVolumeStep;
    if (Counts(kButtonUp)) {
        m.optionsCursor = m.optionsCursor == 0 ? kOptionsRows - 1 : m.optionsCursor - 1;
    } else if (Counts(kButtonDown)) {
        m.optionsCursor = m.optionsCursor == kOptionsRows - 1 ? 0 : m.optionsCursor + 1;
    } else if (!sideways) {
        return false;
    } else if (m.optionsCursor == RowMusicVolume) {
        settings.musicVolume = StepVolume(settings.musicVolume, delta);
        m.configDirty = 1;
        SetMusicVolume(MixerVolume(settings.musicVolume));
    } else if (m.optionsCursor == RowSfxVolume) {
        settings.sfxVolume = StepVolume(settings.sfxVolume, delta);
        m.configDirty = 1;
        SetEffectsVolume(MixerVolume(settings.sfxVolume));
        PlaySound(SoundTada);
    } else if (m.optionsCursor == RowScreenSettings) {
        CycleScreen(right);
        m.configDirty = 1;
        m.restartNeeded = 1;
    } else if (m.optionsCursor == RowAntiAliasing) {
        settings.scale2x = !settings.scale2x;
        settings.smooth = 0;
        m.configDirty = 1;
        m.restartNeeded = 1;
    } else {
        return false;
    }
    m.repeatDelay = kOptionsRepeatDelay;
    return true;
}

void CaptureStep()
{
    OptionsMenu& m = optionsMenu;
    if (m.repeatDelay == 0 && (input.lastKey != 0 || input.lastPadButton != -1)) {
        const int step = capture.captureStep;
        if (m.optionsCursor == RowConfigureKeys)
            CaptureKey(step < kKeyCaptureCount ? &settings.keys[kKeyCaptureOrder[step]] : nullptr);
        else
            CapturePadButton(step < kPadCaptureCount ? &settings.pad[kPadCaptureOrder[step]] : nullptr);
    } else if (m.repeatDelay > 0) {
        m.repeatDelay -= 1;
    }
}

const char* ScreenValue()
{
    if (settings.fullscreen)
        return GetText(TXT_FULL_SCREEN);
    return GetText(settings.zoom ? TXT_WINDOWED_2X : TXT_WINDOWED_1X);
}

void DrawRows()
{
    char music[16];
    char sfx[16];
    std::snprintf(music, sizeof music, "%d", settings.musicVolume);
    std::snprintf(sfx, sizeof sfx, "%d", settings.sfxVolume);
    const char* const rows[kOptionsRows][2] = {
        {GetText(TXT_CONFIGURE_KEYS), GetText(TXT_PRESS_START_MENU)},
        {GetText(TXT_CONFIGURE_PAD), GetText(JoystickPresent() ? TXT_PRESS_START_MENU : TXT_NOT_AVAILABLE)},
        {GetText(TXT_MUSIC_VOLUME), music},
        {GetText(TXT_SFX_VOLUME), sfx},
        {GetText(TXT_SCREEN_SETTINGS), ScreenValue()},
        {GetText(TXT_ANTI_ALIASING), GetText(settings.scale2x ? TXT_AA_SCALE2X : TXT_AA_NONE)},
        {GetText(TXT_RESET_TO_DEFAULT), nullptr},
        {GetText(TXT_BACK_TO_MENU), nullptr},
    };
    DrawText(screenSurface, ">", kCursorX, RowY(optionsMenu.optionsCursor), smallFont);
    for (int row = 0; row < kOptionsRows; ++row) {
        DrawText(screenSurface, rows[row][0], kLabelX, RowY(row), smallFont);
        if (rows[row][1])
            DrawText(screenSurface, rows[row][1], kValueX, RowY(row), smallFont);
    }
    if (optionsMenu.restartNeeded)
        DrawTextCentred(screenSurface, GetText(TXT_RESTART_TO_APPLY), kRestartY, smallFont);
}

} // namespace

void ResetOptionsMenu()
{
    optionsMenu = OptionsMenu{};
    capture.captureActive = 0;
    capture.captureDuplicate = 0;
}

void OptionsStep()
{
    if (capture.captureActive) {
        CaptureStep();
        return;
    }
    if (input.released == kButtonStart || input.released == kButtonJump) {
        Confirm();
        return;
    }
    if (optionsMenu.repeatDelay == 0)
        Act();
    else
        optionsMenu.repeatDelay -= 1;
}

void DrawOptionsLayer()
{
    DimScreen();
    DrawTextCentred(screenSurface, GetText(TXT_OPTIONS), kTitleY, bigFont);
    DrawTextCentred(screenSurface, "FRIBB 3 V1.00", kVersionY, bigFont);
    const bool capturing = capture.captureActive != 0;
    if (!capturing || optionsMenu.optionsCursor > RowConfigurePad)
        DrawRows();
    if (capturing) {
        const int step = capture.captureStep;
        const bool keys = optionsMenu.optionsCursor == RowConfigureKeys;
        const int prompt = keys ? TXT_PRESS_START_KEY + step : TXT_PRESS_START_BUTTON + step;
        DrawTextCentred(screenSurface, GetText(prompt), kPromptY, smallFont);
        if (capture.captureDuplicate)
            DrawTextCentred(screenSurface, GetText(TXT_ALREADY_USED), kDuplicateY, smallFont);
    }
}
