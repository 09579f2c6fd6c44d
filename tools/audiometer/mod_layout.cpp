// MOD header and pattern walking: the order list, row timing and per-channel cells.
#include "mod_layout.h"

#include <algorithm>

#include "audio/mod_format.h"

namespace {

constexpr int kDefaultSpeed = 6, kDefaultTempo = 125;

int PatternCount(const std::vector<uint8_t>& mod)
{
    return ModPatternCount(mod.data());
}

const uint8_t* Cell(const std::vector<uint8_t>& mod, int channels, int pattern, int row, int channel)
{
    return &mod[ModCellOffset(channels, pattern, row, channel)];
}

bool Complete(const std::vector<uint8_t>& mod, int channels)
{
    return channels > 0 && mod.size() >= ModCellOffset(channels, PatternCount(mod), 0, 0);
}

} // namespace

int ModChannelCount(const std::vector<uint8_t>& mod)
{
    return mod.size() < kModHeaderSize ? 0 : ModChannelCount(&mod[kModSignatureOffset]);
}

std::vector<long> ModOrderFrames(const std::vector<uint8_t>& mod, int rate)
{
    const int channels = ModChannelCount(mod);
    if (!Complete(mod, channels))
        return {};
    const int orders = std::min<int>(mod[kModOrderCountOffset], kModOrderSlots);
    int speed = kDefaultSpeed, tempo = kDefaultTempo;
    long frames = 0;
    int row = 0;
    std::vector<long> starts;
    for (int order = 0; order < orders;) {
        starts.push_back(frames);
        const int pattern = mod[kModOrderTableOffset + order];
        int nextOrder = order + 1, nextRow = 0;
        bool leave = false;
        for (; row < kModRowsPerPattern && !leave; ++row) {
            for (int c = 0; c < channels; ++c) {
                const uint8_t* cell = Cell(mod, channels, pattern, row, c);
                const int fx = cell[2] & 0x0F, param = cell[3];
                if (fx == kModFxSpeed && param > 0) {
                    (param <= kModLastSpeedValue ? speed : tempo) = param;
                } else if (fx == kModFxBreak) {
                    nextRow = (param >> 4) * 10 + (param & 0x0F); // the row is written in decimal digits
                    leave = true;
                } else if (fx == kModFxJump && param > order) { // backward jumps are not followed when playing once
                    nextOrder = param;
                    leave = true;
                }
            }
            frames += static_cast<long>(speed) * ((static_cast<long>(rate) * 5 * 128) / (tempo << 8));
        }
        order = nextOrder;
        row = nextRow < kModRowsPerPattern ? nextRow : 0;
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
        for (int row = 0; row < kModRowsPerPattern; ++row) {
            for (int c = 0; c < channels; ++c) {
                if (keep & (1u << c))
                    continue;
                uint8_t* cell = &out[Cell(mod, channels, p, row, c) - mod.data()];
                const int fx = cell[2] & 0x0F;
                const bool timing = fx == kModFxSpeed || fx == kModFxBreak || fx == kModFxJump;
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
