// MOD header and pattern walking: the order list, row timing and per-channel cells.
#include "mod_layout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kOrderCountOffset = 950;
constexpr size_t kOrderTableOffset = 952;
constexpr int kOrderSlots = 128;
constexpr size_t kSignatureOffset = 1080;
constexpr size_t kPatternDataOffset = 1084;
constexpr int kRowsPerPattern = 64;
constexpr int kCellBytes = 4;
constexpr int kLastSpeedValue = 0x20; // Fxx at or below this sets the speed, above it the tempo
constexpr int kFxJump = 0xB, kFxBreak = 0xD, kFxSpeed = 0xF;
constexpr int kDefaultSpeed = 6, kDefaultTempo = 125;

int PatternCount(const std::vector<uint8_t>& mod)
{
    int count = 0;
    for (int i = 0; i < kOrderSlots; ++i)
        count = std::max(count, mod[kOrderTableOffset + i] + 1);
    return count;
}

const uint8_t* Cell(const std::vector<uint8_t>& mod, int channels, int pattern, int row, int channel)
{
    return &mod[kPatternDataOffset +
                ((static_cast<size_t>(pattern) * kRowsPerPattern + row) * channels + channel) * kCellBytes];
}

bool Complete(const std::vector<uint8_t>& mod, int channels)
{
    return channels > 0 && mod.size() >= kPatternDataOffset + static_cast<size_t>(PatternCount(mod)) * kRowsPerPattern *
                                                                  channels * kCellBytes;
}

} // namespace

int ModChannelCount(const std::vector<uint8_t>& mod)
{
    if (mod.size() < kPatternDataOffset)
        return 0;
    const char* sig = reinterpret_cast<const char*>(&mod[kSignatureOffset]);
    if (std::memcmp(sig, "M.K.", 4) == 0 || std::memcmp(sig, "M!K!", 4) == 0 || std::memcmp(sig, "FLT4", 4) == 0)
        return 4;
    if (sig[0] >= '1' && sig[0] <= '9' && std::memcmp(sig + 1, "CHN", 3) == 0)
        return sig[0] - '0';
    return 0;
}

std::vector<long> ModOrderFrames(const std::vector<uint8_t>& mod, int rate)
{
    const int channels = ModChannelCount(mod);
    if (!Complete(mod, channels))
        return {};
    const int orders = std::min<int>(mod[kOrderCountOffset], kOrderSlots);
    int speed = kDefaultSpeed, tempo = kDefaultTempo;
    long frames = 0;
    int row = 0;
    std::vector<long> starts;
    for (int order = 0; order < orders;) {
        starts.push_back(frames);
        const int pattern = mod[kOrderTableOffset + order];
        int nextOrder = order + 1, nextRow = 0;
        bool leave = false;
        for (; row < kRowsPerPattern && !leave; ++row) {
            for (int c = 0; c < channels; ++c) {
                const uint8_t* cell = Cell(mod, channels, pattern, row, c);
                const int fx = cell[2] & 0x0F, param = cell[3];
                if (fx == kFxSpeed && param > 0) {
                    (param <= kLastSpeedValue ? speed : tempo) = param;
                } else if (fx == kFxBreak) {
                    nextRow = (param >> 4) * 10 + (param & 0x0F); // the row is written in decimal digits
                    leave = true;
                } else if (fx == kFxJump && param > order) { // backward jumps are not followed when playing once
                    nextOrder = param;
                    leave = true;
                }
            }
            frames += static_cast<long>(speed) * ((static_cast<long>(rate) * 5 * 128) / (tempo << 8));
        }
        order = nextOrder;
        row = nextRow < kRowsPerPattern ? nextRow : 0;
    }
    starts.push_back(frames);
    return starts;
}

long ModPlayFrames(const std::vector<uint8_t>& mod, int rate)
{
    const std::vector<long> starts = ModOrderFrames(mod, rate);
    return starts.empty() ? 0 : starts.back();
}

std::vector<uint8_t> SoloChannels(const std::vector<uint8_t>& mod, unsigned keep)
{
    std::vector<uint8_t> out = mod;
    const int channels = ModChannelCount(mod);
    if (!Complete(mod, channels))
        return out;
    for (int p = 0; p < PatternCount(mod); ++p) {
        for (int row = 0; row < kRowsPerPattern; ++row) {
            for (int c = 0; c < channels; ++c) {
                if (keep & (1u << c))
                    continue;
                uint8_t* cell = &out[Cell(mod, channels, p, row, c) - mod.data()];
                const int fx = cell[2] & 0x0F;
                const bool timing = fx == kFxSpeed || fx == kFxBreak || fx == kFxJump;
                cell[0] = 0;
                cell[1] = 0;
                cell[2] = timing ? static_cast<uint8_t>(fx) : 0;
                if (!timing)
                    cell[3] = 0;
            }
        }
    }
    return out;
}
