// ProTracker MOD layout: header, sample table, order list, signature, pattern cells, sample data.
#include "mod_writer.h"

#include <algorithm>
#include <map>

#include "audio/mod_format.h"

namespace {

constexpr int kMaxPatterns = 64; // the "M.K." family stores at most 64 patterns
constexpr int kNoRestart = 0x7F; // the customary restart byte; the song just ends
constexpr int kMaxSampleWords = 0xFFFF;

constexpr int kMaxVolume = 64;

struct TrackerCell {
    int sample = 0; // 1..31, 0 = none
    int period = 0; // 0 = no note
    int effect = 0;
    int param = 0;
    bool hasEffect = false;
    bool autoSilence = false; // may give way to the song start when a row is full
};

struct WriteError {
    std::string text;
};

using Grid = std::vector<std::vector<TrackerCell>>; // [row][channel]

// Puts an effect into the first free effect slot of a row, searching channels
// from the last one down; with none free, it replaces a compiler-made silence.
bool PlaceInRow(Grid& grid, int row, int channels, int effect, int param)
{
    for (bool replaceSilence : {false, true}) {
        for (int c = channels - 1; c >= 0; --c) {
            TrackerCell& cell = grid[row][c];
            if (!cell.hasEffect || (replaceSilence && cell.autoSilence)) {
                cell.effect = effect;
                cell.param = param;
                cell.hasEffect = true;
                cell.autoSilence = false;
                return true;
            }
        }
    }
    return false;
}

void PutBigEndian16(std::vector<uint8_t>& out, int v)
{
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(v & 0xFF));
}

void PutText(std::vector<uint8_t>& out, const std::string& text, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

// A volume scaled by the tune's percentage; one past the format's maximum would be clamped and
// lose the balance the source asks for, so it is refused.
int ScaleVolume(int volume, int percent, const std::string& what)
{
    const int scaled = (volume * percent + 50) / 100;
    if (scaled > kMaxVolume)
        throw WriteError{what + ": volume " + std::to_string(volume) + " at " + std::to_string(percent) +
                         " % is past the maximum of 64"};
    return scaled;
}

Grid BuildGrid(const TuneSource& tune, const PatternSource& pat, const std::vector<SynthSample>& samples, int channels)
{
    Grid grid(kModRowsPerPattern, std::vector<TrackerCell>(channels));
    for (size_t c = 0; c < pat.channels.size(); ++c) {
        int heldSample = -1; // the instrument of the note still sounding, for its vibrato
        int heldSince = 0;
        for (int r = 0; r < pat.rows; ++r) {
            const Cell& src = pat.channels[c][r];
            TrackerCell& dst = grid[r][c];
            if (src.note != kNoNote) {
                const SynthSample& s = samples[src.instrument];
                const int pitch = src.note == kDefaultNote ? s.defaultNote : src.note;
                const int period = TrackerPeriod(TrackerNoteFor(pitch, s.base));
                if (period == 0)
                    throw WriteError{"pattern " + pat.name + " channel " + tune.channelNames[c] + " row " +
                                     std::to_string(r) + ": note out of range for instrument " +
                                     tune.instruments[src.instrument].name};
                dst.period = period;
                dst.sample = src.instrument + 1;
                heldSample = src.instrument;
                heldSince = r;
            }
            dst.hasEffect = src.hasEffect;
            dst.autoSilence = src.autoSilence;
            dst.effect = src.effect;
            dst.param = src.param;
            const std::string where =
                "pattern " + pat.name + " channel " + tune.channelNames[c] + " row " + std::to_string(r);
            if (src.hasEffect && src.effect == kModFxSetVolume) {
                dst.param = ScaleVolume(ScaleVolume(src.param, tune.volumePercent, where), pat.volumePercent, where);
                if (src.param == 0)
                    heldSample = -1; // a cut note has nothing left to wobble
            } else if (src.note != kNoNote && pat.volumePercent != 100) {
                // A quieter (or louder) pattern plays each note at its scaled default volume.
                if (src.hasEffect)
                    throw WriteError{where + ": a note with an effect cannot take the pattern's volume"};
                dst.hasEffect = true;
                dst.effect = kModFxSetVolume;
                dst.param = ScaleVolume(ScaleVolume(samples[src.instrument].volume, tune.volumePercent, where),
                                        pat.volumePercent, where);
            }
            if (!dst.hasEffect && heldSample >= 0 && samples[heldSample].vibrato != 0 &&
                r - heldSince >= samples[heldSample].vibratoDelay) {
                dst.hasEffect = true;
                dst.effect = kModFxVibrato;
                dst.param = samples[heldSample].vibrato;
            }
        }
    }
    if (pat.rows < kModRowsPerPattern && !PlaceInRow(grid, pat.rows - 1, channels, kModFxBreak, 0))
        throw WriteError{"pattern " + pat.name + ": no free effect slot for the pattern break on its last row"};
    return grid;
}

// Speed and tempo go into the first row played; each channel's panning into
// its first free effect slot, searching the patterns in play order.
void AddSongStart(const TuneSource& tune, std::vector<Grid>& grids, int channels)
{
    if (!PlaceInRow(grids[0], 0, channels, kModFxSpeed, tune.speed) ||
        !PlaceInRow(grids[0], 0, channels, kModFxSpeed, tune.tempo))
        throw WriteError{"first pattern: row 0 needs two free effect slots for speed and tempo"};
    for (size_t c = 0; c < tune.channelPan.size(); ++c) {
        if (tune.channelPan[c] < 0)
            continue;
        TrackerCell* slot = nullptr;
        for (size_t g = 0; g < grids.size() && !slot; ++g)
            for (int row = 0; row < kModRowsPerPattern && !slot; ++row)
                if (!grids[g][row][c].hasEffect)
                    slot = &grids[g][row][c];
        if (!slot)
            throw WriteError{"no free effect slot anywhere for the panning of " + tune.channelNames[c]};
        slot->effect = kModFxSetPanning;
        slot->param = tune.channelPan[c];
        slot->hasEffect = true;
    }
}

} // namespace

bool WriteModule(const TuneSource& tune, const std::vector<SynthSample>& samples, std::vector<uint8_t>& out,
                 std::string& error)
{
    try {
        const int used = static_cast<int>(tune.channelNames.size());
        const int channels = used <= 4 ? 4 : used <= 6 ? 6 : 8;
        if (tune.instruments.size() > kModSampleSlots)
            throw WriteError{"more than 31 instruments"};
        if (tune.order.size() > kModOrderSlots)
            throw WriteError{"order list longer than 128"};

        // Number the patterns in order of first use; the first one played gets the song start.
        std::map<int, int> stored;
        std::vector<Grid> grids;
        std::vector<uint8_t> orderBytes;
        for (int p : tune.order) {
            if (!stored.count(p)) {
                if (static_cast<int>(grids.size()) == kMaxPatterns)
                    throw WriteError{"more than 64 patterns in the order list"};
                stored[p] = static_cast<int>(grids.size());
                grids.push_back(BuildGrid(tune, tune.patterns[p], samples, channels));
            }
            orderBytes.push_back(static_cast<uint8_t>(stored[p]));
        }
        AddSongStart(tune, grids, channels);

        out.clear();
        PutText(out, tune.title, kModTitleSize);
        for (int i = 0; i < kModSampleSlots; ++i) {
            if (i < static_cast<int>(samples.size())) {
                const SynthSample& s = samples[i];
                if (s.data.size() / 2 > kMaxSampleWords)
                    throw WriteError{"sample " + tune.instruments[i].name + " is too long"};
                PutText(out, tune.instruments[i].name, kModSampleNameSize);
                PutBigEndian16(out, static_cast<int>(s.data.size() / 2));
                out.push_back(0); // finetune
                out.push_back(static_cast<uint8_t>(
                    ScaleVolume(s.volume, tune.volumePercent, "instrument " + tune.instruments[i].name)));
                PutBigEndian16(out, s.loopStart / 2);
                PutBigEndian16(out, s.loopLength > 0 ? s.loopLength / 2 : 1); // one word means "no loop"
            } else {
                PutText(out, "", kModSampleNameSize);
                PutBigEndian16(out, 0);
                out.push_back(0);
                out.push_back(0);
                PutBigEndian16(out, 0);
                PutBigEndian16(out, 1);
            }
        }
        out.push_back(static_cast<uint8_t>(orderBytes.size()));
        out.push_back(kNoRestart);
        orderBytes.resize(kModOrderSlots, 0);
        out.insert(out.end(), orderBytes.begin(), orderBytes.end());
        const char* signature = channels == 4 ? "M.K." : channels == 6 ? "6CHN" : "8CHN";
        PutText(out, signature, kModSignatureSize);
        for (const Grid& grid : grids) {
            for (const auto& row : grid) {
                for (const TrackerCell& cell : row) {
                    uint8_t bytes[kModCellSize];
                    EncodeModCell({cell.sample, cell.period, cell.effect, cell.param}, bytes);
                    out.insert(out.end(), bytes, bytes + kModCellSize);
                }
            }
        }
        for (const SynthSample& s : samples)
            out.insert(out.end(), reinterpret_cast<const uint8_t*>(s.data.data()),
                       reinterpret_cast<const uint8_t*>(s.data.data()) + s.data.size());
        return true;
    } catch (const WriteError& e) {
        error = e.text;
        return false;
    }
}
