// Reading and writing "fribb3.cfg": substring search over the whole text, and the fixed 29-line layout.
#include "assets/configuration.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "assets/archive.h"
#include "assets/user_file.h"

namespace {

// gfxmode bits.
constexpr int kGfxFullscreen = 1;
constexpr int kGfxZoom = 2;
constexpr int kGfxDeepColour = 4; // written when the depth is not 16, never read
constexpr int kGfxSmooth = 8;
constexpr int kGfxScale2x = 16;
// The value taken when a file has no "gfxmode=": a doubled window.
constexpr int kGfxModeAbsent = kGfxZoom;
constexpr int kDefaultColourDepth = 16;

constexpr std::string_view kGfxModeKey = "gfxmode=";
// A k_ or j_ key is read only with at least this many characters after it.
constexpr size_t kBindingTail = 2;

// Reads a decimal number as atoi does (leading white space, one sign, digits up
// to the first other character, 0 without digits), but never at or past end,
// and saturating at the int range where atoi would be undefined.
int ReadNumber(const uint8_t* p, const uint8_t* end)
{
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        if (value <= INT_MAX)
            value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// True when key starts at pos and at least `tail` characters follow it. Every
// key differs from the others in its first two characters or is longer, so
// most positions are turned down before the whole key is compared.
bool KeyAt(const uint8_t* text, size_t size, size_t pos, std::string_view key, size_t tail)
{
    return pos + key.size() + tail <= size && text[pos] == static_cast<uint8_t>(key[0]) &&
           text[pos + 1] == static_cast<uint8_t>(key[1]) && std::memcmp(text + pos, key.data(), key.size()) == 0;
}

// Volumes: anything above 100, negative values included (compared unsigned), is 100.
int ClampVolume(int v)
{
    return static_cast<unsigned>(v) > 100u ? 100 : v;
}

enum class Rule {
    Volume,     // ClampVolume
    Flag,       // value 1 sets the flag `low`; anything else changes nothing
    Resampling, // 0..high kept, anything else (negative too, unsigned) becomes `low`
    Range,      // clamped to low..high
};

struct KeyRule {
    std::string_view key;
    int Settings::*field;
    Rule rule;
    int low;
    int high;
};

constexpr KeyRule kKeyRules[] = {
    {"mus_volume=", &Settings::musicVolume, Rule::Volume, 0, 100},
    {"sfx_volume=", &Settings::sfxVolume, Rule::Volume, 0, 100},
    {"mpFlagsOVERSAMPLING=", &Settings::mpFlags, Rule::Flag, kMpOversampling, 0},
    {"mpFlagsNOISE_REDUCTION=", &Settings::mpFlags, Rule::Flag, kMpNoiseReduction, 0},
    {"mpFlagsREVERB=", &Settings::mpFlags, Rule::Flag, kMpReverb, 0},
    {"mpFlagsMEGABASS=", &Settings::mpFlags, Rule::Flag, kMpMegabass, 0},
    {"mpFlagsSURROUND=", &Settings::mpFlags, Rule::Flag, kMpSurround, 0},
    {"mpResamplingMode=", &Settings::mpResamplingMode, Rule::Resampling, 1, 3},
    {"mpReverbDepth=", &Settings::mpReverbDepth, Rule::Range, 0, 100},
    {"mpReverbDelay=", &Settings::mpReverbDelay, Rule::Range, 40, 200},
    {"mpBassAmount=", &Settings::mpBassAmount, Rule::Range, 0, 100},
    {"mpBassRange=", &Settings::mpBassRange, Rule::Range, 10, 100},
    {"mpSurroundDepth=", &Settings::mpSurroundDepth, Rule::Range, 0, 100},
    {"mpSurroundDelay=", &Settings::mpSurroundDelay, Rule::Range, 5, 40},
};

void ApplyRule(const KeyRule& r, int v, Settings& s)
{
    int& field = s.*r.field;
    switch (r.rule) {
    case Rule::Volume:
        field = ClampVolume(v);
        break;
    case Rule::Flag:
        if (v == 1)
            field |= r.low;
        break;
    case Rule::Resampling:
        field = static_cast<unsigned>(v) > static_cast<unsigned>(r.high) ? r.low : v;
        break;
    case Rule::Range:
        field = v < r.low ? r.low : v > r.high ? r.high : v;
        break;
    }
}

// The key and pad values of one action. Each position is tested for the k_
// key before the j_ key; later matches overwrite earlier ones, and the scan
// stops once both values are set.
void ReadBinding(const uint8_t* text, size_t size, int action, int& keyValue, int& padValue)
{
    const std::string keyKey = std::string("k_") + kActionNames[action] + "=";
    const std::string padKey = std::string("j_") + kActionNames[action] + "=";
    const uint8_t* end = text + size;
    keyValue = -1;
    padValue = -1;
    for (size_t i = 0; keyValue < 0 || padValue < 0; ++i) {
        if (i + keyKey.size() + kBindingTail > size)
            break;
        if (KeyAt(text, size, i, keyKey, kBindingTail)) {
            const uint8_t c = text[i + keyKey.size()];
            keyValue = c >= 'a' && c <= 'z' ? c : ReadNumber(text + i + keyKey.size(), end);
        } else if (KeyAt(text, size, i, padKey, kBindingTail)) {
            padValue = ReadNumber(text + i + padKey.size(), end);
        }
    }
}

void AppendLine(std::string& out, const char* format, const char* name, int value)
{
    char line[64];
    if (name)
        std::snprintf(line, sizeof line, format, name, value);
    else
        std::snprintf(line, sizeof line, format, value);
    out += line;
}

// One k_ line: a letter key as the letter itself, anything else as its number.
void AppendKeyLine(std::string& out, const char* action, int key)
{
    AppendLine(out, key >= 'a' && key <= 'z' ? "k_%s=%c\n" : "k_%s=%d\n", action, key);
}

int FlagBit(const Settings& s, int flag)
{
    return (s.mpFlags & flag) != 0 ? 1 : 0;
}

const char* ConfigPath()
{
    return BuildPath(kConfigName, kConfigExtension);
}

// Reads the file and hands its text to apply; a missing, empty or oversized file does nothing.
void ApplyFile(void (*apply)(const uint8_t*, size_t, Settings&))
{
    size_t size = 0;
    uint8_t* text = ReadWholeFile(ConfigPath(), &size);
    if (!text)
        return;
    if (size <= kMaxConfigSize)
        apply(text, size, settings);
    std::free(text);
}

} // namespace

void ApplyGraphicsMode(const uint8_t* text, size_t size, Settings& s)
{
    if (size == 0)
        return;
    int mode = kGfxModeAbsent;
    for (size_t i = 0; i + kGfxModeKey.size() <= size; ++i) {
        if (KeyAt(text, size, i, kGfxModeKey, 0)) {
            mode = ReadNumber(text + i + kGfxModeKey.size(), text + size);
            break;
        }
    }
    s.fullscreen = (mode & kGfxFullscreen) != 0;
    s.zoom = (mode & kGfxZoom) != 0;
    const bool scaled = s.fullscreen || s.zoom;
    s.smooth = scaled && (mode & kGfxSmooth) != 0;
    s.scale2x = scaled && (mode & kGfxScale2x) != 0;
}

void ApplyConfiguration(const uint8_t* text, size_t size, Settings& s)
{
    if (size == 0)
        return;
    for (int a = 0; a < ActionCount; ++a) {
        int keyValue = -1;
        int padValue = -1;
        ReadBinding(text, size, a, keyValue, padValue);
        s.keys[a] = keyValue;
        if (padValue >= 0)
            s.pad[a] = padValue;
    }
    const uint8_t* end = text + size;
    for (size_t i = 0; i < size; ++i) {
        for (const KeyRule& r : kKeyRules) {
            if (KeyAt(text, size, i, r.key, 1))
                ApplyRule(r, ReadNumber(text + i + r.key.size(), end), s);
        }
    }
}

std::string FormatConfiguration(const Settings& s)
{
    std::string out;
    AppendLine(out, "mus_volume=%d\n", nullptr, s.musicVolume);
    AppendLine(out, "sfx_volume=%d\n", nullptr, s.sfxVolume);
    for (int a = 0; a < ActionCount; ++a)
        AppendLine(out, "j_%s=%d\n", kActionNames[a], s.pad[a]);
    for (int a = 0; a < ActionCount; ++a)
        AppendKeyLine(out, kActionNames[a], s.keys[a]);
    AppendLine(out, "mpFlagsOVERSAMPLING=%d\n", nullptr, FlagBit(s, kMpOversampling));
    AppendLine(out, "mpResamplingMode=%d\n", nullptr, s.mpResamplingMode);
    AppendLine(out, "mpFlagsNOISE_REDUCTION=%d\n", nullptr, FlagBit(s, kMpNoiseReduction));
    AppendLine(out, "mpFlagsREVERB=%d\n", nullptr, FlagBit(s, kMpReverb));
    AppendLine(out, "mpReverbDepth=%d\n", nullptr, s.mpReverbDepth);
    AppendLine(out, "mpReverbDelay=%d\n", nullptr, s.mpReverbDelay);
    AppendLine(out, "mpFlagsMEGABASS=%d\n", nullptr, FlagBit(s, kMpMegabass));
    AppendLine(out, "mpBassAmount=%d\n", nullptr, s.mpBassAmount);
    AppendLine(out, "mpBassRange=%d\n", nullptr, s.mpBassRange);
    AppendLine(out, "mpFlagsSURROUND=%d\n", nullptr, FlagBit(s, kMpSurround));
    AppendLine(out, "mpSurroundDepth=%d\n", nullptr, s.mpSurroundDepth);
    AppendLine(out, "mpSurroundDelay=%d\n", nullptr, s.mpSurroundDelay);
    const int mode = (s.fullscreen ? kGfxFullscreen : 0) | (s.zoom ? kGfxZoom : 0) |
                     (s.colorDepth != kDefaultColourDepth ? kGfxDeepColour : 0) | (s.smooth ? kGfxSmooth : 0) |
                     (s.scale2x ? kGfxScale2x : 0);
    AppendLine(out, "gfxmode=%d\n", nullptr, mode);
    return out;
}

void ReadGraphicsMode()
{
    ApplyFile(ApplyGraphicsMode);
}

void ReadConfiguration()
{
    ApplyFile(ApplyConfiguration);
}

bool WriteConfiguration()
{
    const std::string text = FormatConfiguration(settings);
    return ReplaceUserFile(ConfigPath(), text.data(), text.size());
}
