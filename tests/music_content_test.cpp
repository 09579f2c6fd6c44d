// Music content: the samples of every shipped module loop without clicks, and the module compiler
// behind them is deterministic, lays out MOD files correctly and rejects bad sources.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "assets/archive.h"
#include "audio/mod_format.h"
#include "test_support.h"

namespace {

constexpr size_t kSignatureOffset = kModSignatureOffset;
constexpr size_t kSampleHeaderOffset = kModSampleHeaderOffset;
constexpr size_t kSampleHeaderSize = kModSampleHeaderSize;
constexpr size_t kOrderCountOffset = kModOrderCountOffset;

const char* const kArchivePath = FRIBB3_BINARY_DIR "/data/music.zda";
const char* const kCompiler = FRIBB3_BINARY_DIR "/tools/modc/modc";

std::vector<uint8_t> ReadEntry(const char* name)
{
    OpenArchiveFile(ArchiveMusic, kArchivePath);
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveMusic, name, "mod", &size);
    std::vector<uint8_t> bytes;
    if (data)
        bytes.assign(data, data + size);
    std::free(data);
    return bytes;
}

// Every module we ship (how each one sounds is measured in sound_mix_test.cpp).
const char* const kModules[] = {"0.fribb3-title", "1.labyrinth", "2.anctemple",     "3.happytimes",
                                "4.almostthere",  "5.risingsun", "6.deepwildness",  "7.thechallenge",
                                "8.twinrainbow",  "9.yist",      "10.tastyflowers", "x.levelcomplete",
                                "y.jingle"};

class ShippedModule : public testing::TestWithParam<const char*> {};

// Looped samples must join without a step (a click every loop) and one-shot
// samples must end at rest (a click when they stop).
TEST_P(ShippedModule, SamplesLoopSeamlesslyAndOneShotsEndAtRest)
{
    const std::vector<uint8_t> bytes = ReadEntry(GetParam());
    ASSERT_GT(bytes.size(), kModHeaderSize);
    const int channels = ModChannelCount(&bytes[kSignatureOffset]);
    ASSERT_GT(channels, 0);
    size_t at = ModCellOffset(channels, ModPatternCount(bytes.data()), 0, 0);
    for (int i = 0; i < kModSampleSlots; ++i) {
        const uint8_t* header = &bytes[kSampleHeaderOffset + i * kSampleHeaderSize];
        const size_t length = 2 * static_cast<size_t>(ModWord(header + kModSampleLengthField));
        const size_t loopStart = 2 * static_cast<size_t>(ModWord(header + kModSampleLoopStartField));
        const size_t loopLength = 2 * static_cast<size_t>(ModWord(header + kModSampleLoopLengthField));
        if (length == 0)
            continue;
        ASSERT_LE(at + length, bytes.size()) << "sample " << i << " runs past the file";
        auto value = [&](size_t k) { return static_cast<int>(static_cast<int8_t>(bytes[at + k])); };
        if (loopLength > 2) {
            ASSERT_LE(loopStart + loopLength, length) << "sample " << i;
            int steepest = 0;
            for (size_t k = loopStart + 1; k < loopStart + loopLength; ++k)
                steepest = std::max(steepest, std::abs(value(k) - value(k - 1)));
            const int seam = std::abs(value(loopStart) - value(loopStart + loopLength - 1));
            EXPECT_LE(seam, steepest + 2) << "sample " << i << " clicks at its loop point";
        } else {
            EXPECT_LE(std::abs(value(length - 1)), 3) << "sample " << i << " stops short of silence";
        }
        at += length;
    }
    EXPECT_EQ(at, bytes.size()) << "sample data and headers disagree";
}

INSTANTIATE_TEST_SUITE_P(MusicArchive, ShippedModule, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string n = info.param;
                             std::replace_if(
                                 n.begin(), n.end(),
                                 [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return n;
                         });

// ---- The module compiler ----

// Runs modc on a source text; returns its exit code and fills the output bytes and messages.
int Compile(const std::string& source, std::vector<uint8_t>& mod, std::string& messages)
{
    // Named after the process: ctest runs the tests of this file side by side.
    const std::string stem = testing::TempDir() + "/modc_case_" + std::to_string(getpid());
    const std::string src = stem + ".tune";
    const std::string out = stem + ".mod";
    std::ofstream(src, std::ios::binary | std::ios::trunc) << source;
    std::remove(out.c_str());
    const std::string cmd = std::string(kCompiler) + " " + src + " " + out + " 2>&1";
    const testsupport::CommandResult r = testsupport::RunCommand(cmd);
    messages = r.output;
    mod = testsupport::ReadBytes(out);
    return r.exitCode;
}

ModCell CellAt(const std::vector<uint8_t>& mod, int channels, int pattern, int row, int channel)
{
    const size_t at = ModCellOffset(channels, pattern, row, channel);
    return DecodeModCell(&mod.at(at + kModCellSize - 1) - (kModCellSize - 1));
}

int SampleWord(const std::vector<uint8_t>& mod, int sample, size_t field)
{
    const size_t at = kSampleHeaderOffset + sample * kSampleHeaderSize + field;
    return ModWord(&mod.at(at + 1) - 1);
}

TEST(ModuleCompiler, SameSourceGivesTheSameBytesAsTheArchive)
{
    for (const char* name : kModules) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(FRIBB3_SOURCE_DIR "/content/music/") + name + ".tune", std::ios::binary);
        const std::string source((std::istreambuf_iterator<char>(in)), {});
        ASSERT_FALSE(source.empty());
        std::vector<uint8_t> first, second;
        std::string messages;
        ASSERT_EQ(Compile(source, first, messages), 0) << messages;
        ASSERT_EQ(Compile(source, second, messages), 0) << messages;
        EXPECT_TRUE(first == second) << "compiler output differs between runs";
        EXPECT_TRUE(first == ReadEntry(name)) << "archive entry is stale";
    }
}

TEST(ModuleCompiler, LaysOutNotesChordsAndSongStart)
{
    const std::string source = "title t\n"
                               "channels a b=64 c\n"
                               "speed 5\n"
                               "tempo 140\n"
                               "instrument lead tone sustain=0.5 base=3\n"
                               "instrument hit tone length=0.1 base=3\n"
                               "chords ch step=2 low=C4 : Am Dm\n"
                               "phrase up : C4 E4:v20\n"
                               "pattern p rows=8\n"
                               "  a: =lead ch.1 up+2 :s2%2\n"
                               "  b: C3@hit ^ . ch.arp[2:4]\n"
                               "  c: =hit ch.3\n"
                               "order p p\n";
    std::vector<uint8_t> mod;
    std::string messages;
    ASSERT_EQ(Compile(source, mod, messages), 0) << messages;
    const int ch = 4; // three channels are stored as a 4-channel "M.K." module
    EXPECT_EQ(std::string(mod.begin() + kSignatureOffset, mod.begin() + kSignatureOffset + 4), "M.K.");
    EXPECT_EQ(mod[kOrderCountOffset], 2);
    EXPECT_EQ(mod[kOrderCountOffset + 2], 0);
    EXPECT_EQ(mod[kOrderCountOffset + 3], 0) << "a pattern used twice is stored once";

    // Am above C4 voices as C4 E4 A4; base 3 puts real octave 4 at tracker octave 3 (C-3 = 214).
    EXPECT_EQ(CellAt(mod, ch, 0, 0, 0).period, 214);
    EXPECT_EQ(CellAt(mod, ch, 0, 0, 0).sample, 1);
    EXPECT_EQ(CellAt(mod, ch, 0, 2, 0).period, 190) << "Dm above C4 voices as D4 F4 A4";
    EXPECT_EQ(CellAt(mod, ch, 0, 4, 0).period, 190) << "phrase 'up' transposed +2: D4";
    EXPECT_EQ(CellAt(mod, ch, 0, 5, 0).period, 151) << "E4 + 2 = F#4";
    EXPECT_EQ(CellAt(mod, ch, 0, 5, 0).effect, 0xC);
    EXPECT_EQ(CellAt(mod, ch, 0, 5, 0).param, 20);
    for (int row : {6, 7}) {
        EXPECT_EQ(CellAt(mod, ch, 0, row, 0).effect, 0xA) << "cell copied on every row";
        EXPECT_EQ(CellAt(mod, ch, 0, row, 0).param, 0x02);
        EXPECT_EQ(CellAt(mod, ch, 0, row, 0).period, 0);
    }
    EXPECT_EQ(CellAt(mod, ch, 0, 0, 2).period, 127) << "third voice of Am: A4";
    EXPECT_EQ(CellAt(mod, ch, 0, 2, 2).period, 127) << "third voice of Dm above C4: A4";

    // Channel b: a note, a cut (volume 0), then rows 2..3 of the arpeggio phrase (Dm: D4 +3 +7).
    EXPECT_EQ(CellAt(mod, ch, 0, 0, 1).sample, 2);
    EXPECT_EQ(CellAt(mod, ch, 0, 0, 1).period, 428);
    EXPECT_EQ(CellAt(mod, ch, 0, 1, 1).effect, 0xC);
    EXPECT_EQ(CellAt(mod, ch, 0, 1, 1).param, 0);
    EXPECT_EQ(CellAt(mod, ch, 0, 3, 1).period, 190);
    EXPECT_EQ(CellAt(mod, ch, 0, 3, 1).effect, 0x0);
    EXPECT_EQ(CellAt(mod, ch, 0, 3, 1).param, 0x37);

    // Speed and tempo share row 0 with the notes; panning lands in a free slot; the short pattern breaks.
    std::vector<int> fParams;
    for (int c = 0; c < ch; ++c)
        if (CellAt(mod, ch, 0, 0, c).effect == 0xF)
            fParams.push_back(CellAt(mod, ch, 0, 0, c).param);
    std::sort(fParams.begin(), fParams.end());
    EXPECT_EQ(fParams, (std::vector<int>{5, 140}));
    bool panned = false;
    for (int row = 0; row < 8; ++row)
        panned = panned || (CellAt(mod, ch, 0, row, 1).effect == 0x8 && CellAt(mod, ch, 0, row, 1).param == 64);
    EXPECT_TRUE(panned);
    bool broke = false;
    for (int c = 0; c < ch; ++c)
        broke = broke || CellAt(mod, ch, 0, 7, c).effect == 0xD;
    EXPECT_TRUE(broke) << "an 8-row pattern needs a break on its last row";

    // A sustained tone loops a seamless span; a one-shot has the one-word "no loop".
    EXPECT_GT(SampleWord(mod, 0, kModSampleLoopLengthField), 1);
    EXPECT_EQ(SampleWord(mod, 1, kModSampleLoopLengthField), 1);
    EXPECT_EQ(SampleWord(mod, 1, kModSampleLoopStartField), 0);
}

TEST(ModuleCompiler, ScalesVolumesAddsVibratoToHeldNotesAndSilencesUnusedChannels)
{
    const std::string source = "channels a b\n"
                               "volume 150\n"
                               "instrument lead tone sustain=0.5 vol=40 vib=43 vibdelay=2\n"
                               "instrument hit tone vol=42\n"
                               "pattern p rows=8\n"
                               "  a: =lead C4*4 D4:v20 E4:v42 ^*2\n"
                               "  b: C4@hit\n"
                               "pattern q rows=2 volume=50\n"
                               "  a: C4@lead ^\n"
                               "order p q\n";
    std::vector<uint8_t> mod;
    std::string messages;
    ASSERT_EQ(Compile(source, mod, messages), 0) << messages;
    const int ch = 4;
    EXPECT_EQ(mod[kSampleHeaderOffset + kModSampleVolumeField], 60) << "40 at 150 %";
    EXPECT_EQ(mod[kSampleHeaderOffset + kSampleHeaderSize + kModSampleVolumeField], 63) << "42 at 150 %";
    EXPECT_EQ(CellAt(mod, ch, 0, 4, 0).param, 30) << "set volume 20 at 150 %";
    EXPECT_EQ(CellAt(mod, ch, 0, 5, 0).param, 63) << "set volume 42 at 150 %";
    // The C4 held over rows 0..3 wobbles from its third row on; rows with their own effect keep it.
    EXPECT_NE(CellAt(mod, ch, 0, 1, 0).effect, 0x4);
    EXPECT_EQ(CellAt(mod, ch, 0, 2, 0).effect, 0x4);
    EXPECT_EQ(CellAt(mod, ch, 0, 2, 0).param, 0x43);
    EXPECT_EQ(CellAt(mod, ch, 0, 3, 0).effect, 0x4);
    EXPECT_EQ(CellAt(mod, ch, 0, 6, 0).effect, 0xC) << "the cut stays a cut";
    EXPECT_NE(CellAt(mod, ch, 0, 7, 0).effect, 0x4) << "nothing left to wobble after a cut";
    EXPECT_NE(CellAt(mod, ch, 0, 3, 1).effect, 0x4) << "only instruments that ask for vibrato get it";
    EXPECT_EQ(CellAt(mod, ch, 1, 0, 0).effect, 0xC) << "a note in a pattern at 50 % plays at half its volume";
    EXPECT_EQ(CellAt(mod, ch, 1, 0, 0).param, 30);
    EXPECT_EQ(CellAt(mod, ch, 1, 1, 0).param, 0) << "silence stays silence at any pattern volume";
    // Channel b is left out of pattern q, so whatever it still holds is silenced there.
    EXPECT_EQ(CellAt(mod, ch, 1, 0, 1).effect, 0xC);
    EXPECT_EQ(CellAt(mod, ch, 1, 0, 1).param, 0);
}

TEST(ModuleCompiler, PicksTheSignatureByChannelCount)
{
    const std::string body = "instrument x tone\npattern p rows=1\n  a: C3@x\norder p\n";
    std::vector<uint8_t> mod;
    std::string messages;
    for (const auto& [channels, signature] : std::vector<std::pair<std::string, std::string>>{
             {"a", "M.K."}, {"a b c d e", "6CHN"}, {"a b c d e f g", "8CHN"}}) {
        ASSERT_EQ(Compile("channels " + channels + "\n" + body, mod, messages), 0) << messages;
        EXPECT_EQ(std::string(mod.begin() + kSignatureOffset, mod.begin() + kSignatureOffset + 4), signature);
    }
}

TEST(ModuleCompiler, RejectsBadSourcesWithTheLine)
{
    const std::string head = "channels a\ninstrument x tone base=3\n";
    struct Case {
        std::string body, message;
    };
    const Case cases[] = {
        {"pattern p\n  a: =x nothere\norder p\n", "line 4: unknown phrase: nothere"},
        {"pattern p rows=2\n  a: C3@x C3 C3\norder p\n", "line 4: channel a has 3 rows, pattern p only 2"},
        {"pattern p\n  a: C9@x\norder p\n", "note out of range for instrument x"},
        {"pattern p\n  a: C3@y\norder p\n", "line 4: unknown instrument: y"},
        {"phrase r : r\npattern p\n  a: =x r\norder p\n", "nest too deeply"},
        {"pattern p\n  a: C3@x:v65\norder p\n", "volume out of range"},
        {"pattern p\n  a: C3@x\n", "no order list"},
        {"instrument z tone wav=saw\npattern p\n  a: C3@z\norder p\n", "unknown setting wav"},
        {"volume 130\ninstrument z tone vol=50\npattern p\n  a: C3@z\norder p\n",
         "instrument z: volume 50 at 130 % is past"},
        {"volume 130\npattern p\n  a: C3@x:v50\norder p\n", "row 0: volume 50 at 130 % is past"},
        {"pattern p volume=50\n  a: C3@x:a37\norder p\n",
         "row 0: a note with an effect cannot take the pattern's volume"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<uint8_t> mod;
        std::string messages;
        EXPECT_EQ(Compile(head + c.body, mod, messages), 1);
        EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
        EXPECT_TRUE(mod.empty()) << "no output on failure";
    }
}

} // namespace
