// Archives: the packer and the reader round trip, lookup rules, file helpers, and damaged archives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Byte offsets of the header and entry fields.
constexpr size_t kCountField = 4;
constexpr size_t kDirSizeField = 8;
constexpr size_t kUnpackedField = 40;
constexpr size_t kPackedField = 44;
constexpr size_t kOffsetField = 48;

// A fresh, empty directory per test, removed afterwards.
using TempDir = testsupport::ScratchDir;

void WriteFile(const fs::path& path, const Bytes& bytes)
{
    ASSERT_TRUE(testsupport::WriteBytes(path, bytes)) << path;
}

Bytes FileBytes(const fs::path& path)
{
    return testsupport::ReadBytes(path);
}

// Deterministic filler: a repeated pattern broken up by pseudo-random bytes,
// so zlib has something to do in both directions.
Bytes Filler(size_t size, uint32_t seed)
{
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        b[i] = (i % 7 == 0) ? static_cast<uint8_t>(seed >> 24) : static_cast<uint8_t>(i / 13);
    }
    return b;
}

// Reads an entry and hands back its bytes; found is false for "nothing found".
struct ReadResult {
    bool found;
    Bytes bytes;
};

ReadResult Read(ArchiveId id, const char* name, const char* ext)
{
    size_t size = 12345;
    uint8_t* data = ReadArchiveEntry(id, name, ext, &size);
    if (!data)
        return {false, {}};
    Bytes out(data, data + size);
    std::free(data);
    return {true, out};
}

// Opens an in-memory archive through a real file as the maps archive.
void OpenBytes(const TempDir& dir, const Bytes& archive)
{
    const fs::path path = dir / "test.zda";
    WriteFile(path, archive);
    OpenArchiveFile(ArchiveMaps, path.c_str());
}

uint8_t* EntryAt(Bytes& archive, size_t index)
{
    return &archive[kArchiveHeaderSize + kArchiveEntrySize * index];
}

// Number of file descriptors this process has open.
int OpenFileCount()
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// Runs a program with arguments; returns its exit status, or -1 if it did not exit normally.
int RunProgram(const std::vector<std::string>& args)
{
    std::string cmd;
    for (const std::string& a : args)
        cmd += "'" + a + "' ";
    cmd += ">/dev/null 2>&1";
    return testsupport::ExitCodeOf(std::system(cmd.c_str()));
}

// A small valid archive of three entries used as the base of the damage cases.
Bytes SampleArchive()
{
    return BuildArchive({{"logo.bmp", Filler(300, 1)}, {"stage1.bin", Filler(1000, 2)}, {"chew.wav", Filler(50, 3)}});
}

class ArchiveTest : public ::testing::Test {
protected:
    void TearDown() override { CloseArchives(); }
    TempDir dir;
};

} // namespace

TEST(ArchiveBuild, RefusesNamesThatCannotEndInsideTheirField)
{
    EXPECT_FALSE(BuildArchive({{std::string(39, 'n'), {1}}}).empty());
    EXPECT_TRUE(BuildArchive({{"ok.bin", {1}}, {std::string(40, 'n'), {1}}}).empty());
    EXPECT_TRUE(BuildArchive({{std::string("a\0b.bin", 7), {1}}}).empty());
}

TEST_F(ArchiveTest, ManyEntriesRoundTripThroughAFile)
{
    std::vector<ArchiveInput> inputs;
    const std::string name39 = std::string(35, 'x') + ".bin"; // 39 characters, the longest there is
    ASSERT_EQ(name39.size(), kArchiveNameSize - 1);
    inputs.push_back({name39, Filler(777, 100)});
    inputs.push_back({"one.bin", {0x42}});
    inputs.push_back({"zero.bin", {0x00}});
    inputs.push_back({"empty.bin", {}});
    inputs.push_back({"large.bin", Filler(3 * 1024 * 1024 + 17, 200)});
    for (int i = 0; i < 150; ++i)
    {
        std::string name = "e";
        name += std::to_string(i);
        name += ".dat";
        inputs.push_back({name, Filler(static_cast<size_t>(i * 37 % 4000 + 1), static_cast<uint32_t>(i))});
    }
    OpenBytes(dir, BuildArchive(inputs));

    for (const ArchiveInput& in : inputs) {
        const size_t dot = in.name.rfind('.');
        const std::string base = in.name.substr(0, dot);
        const std::string ext = in.name.substr(dot + 1);
        const ReadResult r = Read(ArchiveMaps, base.c_str(), ext.c_str());
        if (in.bytes.empty()) {
            EXPECT_FALSE(r.found) << "an empty entry reads as nothing";
            continue;
        }
        ASSERT_TRUE(r.found) << in.name;
        EXPECT_EQ(r.bytes, in.bytes) << in.name;
    }

    // The size out-parameter is optional.
    uint8_t* data = ReadArchiveEntry(ArchiveMaps, "one", "bin");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], 0x42);
    std::free(data);
}

TEST_F(ArchiveTest, LookupIsExactCaseSensitiveAndTheFirstNameWins)
{
    OpenBytes(dir, BuildArchive({{"logo.BMP", {1}},
                                 {"logo.bmp", {2}},
                                 {"logo.bmp", {3}},
                                 {"logos.bmp", {4}},
                                 {"noext", {5}}}));
    ReadResult r = Read(ArchiveMaps, "logo", "bmp");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.bytes, Bytes{2});
    r = Read(ArchiveMaps, "logo", "BMP");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.bytes, Bytes{1});
    r = Read(ArchiveMaps, "logos", "bmp");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.bytes, Bytes{4});

    EXPECT_FALSE(Read(ArchiveMaps, "LOGO", "bmp").found);
    EXPECT_FALSE(Read(ArchiveMaps, "log", "bmp").found);
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bm").found);
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmpx").found);
    EXPECT_FALSE(Read(ArchiveMaps, "noext", "").found) << "the key always has a dot";
    EXPECT_FALSE(Read(ArchiveMaps, std::string(300, 'a').c_str(), "bmp").found);

    // Each archive keeps its own directory; the others are empty.
    EXPECT_FALSE(Read(ArchiveGfx, "logo", "bmp").found);
    EXPECT_FALSE(Read(static_cast<ArchiveId>(7), "logo", "bmp").found);
    EXPECT_FALSE(Read(static_cast<ArchiveId>(-1), "logo", "bmp").found);

    // Closing forgets everything.
    CloseArchives();
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found);
}

TEST_F(ArchiveTest, PackerWritesWhatTheReaderReadsAndRefusesLongNames)
{
    const fs::path name39 = dir / (std::string(35, 'p') + ".bmp");
    const fs::path name40 = dir / (std::string(36, 'p') + ".bmp");
    const Bytes content = Filler(5000, 77);
    WriteFile(name39, content);
    WriteFile(name40, content);
    WriteFile(dir / "tiny.wav", {0x11});

    const fs::path out = dir / "packed.zda";
    ASSERT_EQ(RunProgram({FRIBB3_ZDAPACK_EXE, out.string(), name39.string(), (dir / "tiny.wav").string()}), 0);
    EXPECT_EQ(FileBytes(out), BuildArchive({{name39.filename().string(), content}, {"tiny.wav", {0x11}}}))
        << "entries are named after the files' base names";
    OpenArchiveFile(ArchiveGfx, out.c_str());
    ReadResult r = Read(ArchiveGfx, std::string(35, 'p').c_str(), "bmp");
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.bytes, content);

    const fs::path refused = dir / "refused.zda";
    EXPECT_NE(RunProgram({FRIBB3_ZDAPACK_EXE, refused.string(), name40.string()}), 0);
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_NE(RunProgram({FRIBB3_ZDAPACK_EXE, refused.string(), (dir / "nope.bin").string()}), 0);
    EXPECT_FALSE(fs::exists(refused));
    EXPECT_NE(RunProgram({FRIBB3_ZDAPACK_EXE}), 0);
}

TEST_F(ArchiveTest, ReadWholeFileAndBuildPath)
{
    const Bytes content = Filler(70000, 5);
    WriteFile(dir / "user.dat", content);
    size_t size = 0;
    uint8_t* data = ReadWholeFile((dir / "user.dat").c_str(), &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(Bytes(data, data + size), content);
    std::free(data);
    data = ReadWholeFile((dir / "user.dat").c_str());
    EXPECT_NE(data, nullptr);
    std::free(data);

    WriteFile(dir / "empty.dat", {});
    const int filesBefore = OpenFileCount();
    size = 99;
    EXPECT_EQ(ReadWholeFile((dir / "empty.dat").c_str(), &size), nullptr);
    EXPECT_EQ(OpenFileCount(), filesBefore) << "the empty file is closed again";
    EXPECT_EQ(ReadWholeFile((dir / "missing.dat").c_str(), &size), nullptr);
    EXPECT_EQ(OpenFileCount(), filesBefore);
    // A directory where a user file is expected opens but is no file.
    fs::create_directories(dir / "fribb3.cfg");
    EXPECT_EQ(ReadWholeFile((dir / "fribb3.cfg").c_str(), &size), nullptr);
    EXPECT_EQ(OpenFileCount(), filesBefore);
    EXPECT_EQ(size, 99u) << "the size is left alone when nothing is read";

    EXPECT_STREQ(BuildPath("fribb3", "cfg"), "./fribb3.cfg");
    EXPECT_STREQ(BuildPath("hiscores", "dat"), "./hiscores.dat");
    const char* p = BuildPath("savegame", "dat");
    BuildPath("x", "y");
    EXPECT_STREQ(p, "./x.y") << "one static buffer shared by all calls";
}

// Every damaged archive below must read as "nothing found" for the damaged entry.
TEST_F(ArchiveTest, NameWithoutNulInItsFieldNeverMatches)
{
    Bytes a = BuildArchive({{"logo.bmp", {1}}, {"ok.bin", {2}}});
    uint8_t* e = EntryAt(a, 0);
    std::memset(e + 8, 'x', kArchiveNameSize - 8); // "logo.bmpxxxx..." with no end
    OpenBytes(dir, a);
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found);
    const std::string full(reinterpret_cast<const char*>(e), kArchiveNameSize);
    EXPECT_FALSE(Read(ArchiveMaps, full.substr(0, full.rfind('.')).c_str(), full.substr(full.rfind('.') + 1).c_str()).found);
    EXPECT_TRUE(Read(ArchiveMaps, "ok", "bin").found) << "the other entries are unharmed";
}

TEST_F(ArchiveTest, DirectorySmallerThanItsEntryTableIsMalformed)
{
    const Bytes good = SampleArchive();
    // Room for one, one and a half, and two of the three entries.
    for (size_t d : {kArchiveHeaderSize, kArchiveHeaderSize + kArchiveEntrySize,
                     kArchiveHeaderSize + kArchiveEntrySize + 26, kArchiveHeaderSize + 2 * kArchiveEntrySize}) {
        Bytes a = good;
        WriteLe32(&a[kDirSizeField], static_cast<uint32_t>(d));
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << "D " << d;
        EXPECT_FALSE(Read(ArchiveMaps, "chew", "wav").found) << "D " << d;
    }
    // An entry count far beyond the file.
    for (uint32_t n : {4u, 1000u, 0x7fffffffu, 0xffffffffu}) {
        Bytes a = good;
        WriteLe32(&a[kCountField], n);
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << "N " << n;
    }
    // A directory larger than needed is fine: the data area just starts later.
    Bytes padded = good;
    const uint32_t d = ReadLe32(&good[kDirSizeField]);
    padded.insert(padded.begin() + d, 8, 0xee);
    WriteLe32(&padded[kDirSizeField], d + 8);
    OpenBytes(dir, padded);
    EXPECT_TRUE(Read(ArchiveMaps, "chew", "wav").found);
    // No entries at all.
    OpenBytes(dir, BuildArchive({}));
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found);
}

TEST_F(ArchiveTest, DirectoryBeyondTheFileOrBelowTheHeaderIsRefused)
{
    const Bytes good = SampleArchive();
    for (uint32_t d : {0u, 11u, static_cast<uint32_t>(good.size()) + 1, 0xffffffffu}) {
        Bytes a = good;
        WriteLe32(&a[kDirSizeField], d);
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << "D " << d;
    }
}

TEST_F(ArchiveTest, OffsetsAndPackedSizesBeyondTheFileAreRefused)
{
    const Bytes good = SampleArchive();
    const uint32_t dataSize = static_cast<uint32_t>(good.size()) - ReadLe32(&good[kDirSizeField]);
    // The last entry ends exactly at the end of the file.
    const uint32_t lastPacked = ReadLe32(&good[kArchiveHeaderSize + 2 * kArchiveEntrySize + kPackedField]);
    const struct {
        const char* what;
        size_t field;
        uint32_t value;
    } cases[] = {
        {"offset at the end", kOffsetField, dataSize},
        {"offset one byte late", kOffsetField, dataSize - lastPacked + 1},
        {"offset far beyond", kOffsetField, 0x10000000u},
        {"offset wraps 32 bits with the size", kOffsetField, 0xfffffff0u},
        {"packed one byte too long", kPackedField, lastPacked + 1},
        {"packed size huge", kPackedField, 0xffffffffu},
    };
    for (const auto& c : cases) {
        Bytes a = good;
        WriteLe32(EntryAt(a, 2) + c.field, c.value);
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "chew", "wav").found) << c.what;
        EXPECT_TRUE(Read(ArchiveMaps, "logo", "bmp").found) << c.what;
    }
}

TEST_F(ArchiveTest, UnpackedSizeThatZlibContradictsIsRefused)
{
    for (int delta : {-1, +1, -299, +1000}) {
        Bytes a = SampleArchive();
        uint8_t* e = EntryAt(a, 0); // logo.bmp unpacks to 300 bytes
        WriteLe32(e + kUnpackedField, static_cast<uint32_t>(300 + delta));
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << "delta " << delta;
        EXPECT_TRUE(Read(ArchiveMaps, "stage1", "bin").found);
    }
    // A packed stream pointing at the wrong bytes, or with a damaged byte, fails to unpack.
    Bytes a = SampleArchive();
    WriteLe32(EntryAt(a, 0) + kOffsetField, 1);
    OpenBytes(dir, a);
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found);
    a = SampleArchive();
    a[ReadLe32(&a[kDirSizeField]) + 20] ^= 0x5a;
    OpenBytes(dir, a);
    EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found);
}

TEST_F(ArchiveTest, SizesAboveTheLimitAreRefusedBeforeAllocating)
{
    for (size_t field : {kUnpackedField, kPackedField}) {
        for (uint32_t size : {kArchiveMaxEntrySize + 1, 0x80000000u, 0xffffffffu}) {
            Bytes a = SampleArchive();
            WriteLe32(EntryAt(a, 0) + field, size);
            OpenBytes(dir, a);
            EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << "field " << field << " size " << size;
        }
    }
}

TEST_F(ArchiveTest, EntryCountIsCappedOnBothSides)
{
    EXPECT_TRUE(BuildArchive({{"huge.bin", Bytes(kArchiveMaxEntrySize + 1)}}).empty());
    std::vector<ArchiveInput> many(kArchiveMaxEntries, {"e.bin", {7}});
    many.back().name = "last.bin";
    Bytes a = BuildArchive(many);
    OpenBytes(dir, a);
    EXPECT_TRUE(Read(ArchiveMaps, "last", "bin").found);
    many.push_back({"more.bin", {8}});
    EXPECT_TRUE(BuildArchive(many).empty());
    // The same archive with one more entry declared and its table grown to hold it.
    a.insert(a.begin() + ReadLe32(&a[kDirSizeField]), kArchiveEntrySize, 0);
    WriteLe32(&a[kCountField], kArchiveMaxEntries + 1);
    WriteLe32(&a[kDirSizeField], ReadLe32(&a[kDirSizeField]) + kArchiveEntrySize);
    OpenBytes(dir, a);
    EXPECT_FALSE(Read(ArchiveMaps, "last", "bin").found);
}

TEST_F(ArchiveTest, WrongMagicLeavesTheArchiveEmpty)
{
    for (const char* magic : {"ZDB", "zda", "ZDA!", "\0\0\0"}) {
        Bytes a = SampleArchive();
        std::memcpy(a.data(), magic, 4);
        OpenBytes(dir, a);
        EXPECT_FALSE(Read(ArchiveMaps, "logo", "bmp").found) << magic;
    }
}

TEST_F(ArchiveTest, TruncatedFilesGiveEachEntryWhollyOrNotAtAll)
{
    const Bytes good = SampleArchive();
    const uint32_t d = ReadLe32(&good[kDirSizeField]);
    const char* names[3][2] = {{"logo", "bmp"}, {"stage1", "bin"}, {"chew", "wav"}};
    for (size_t len = 0; len <= good.size(); ++len) {
        OpenBytes(dir, Bytes(good.begin(), good.begin() + static_cast<long>(len)));
        for (size_t i = 0; i < 3; ++i) {
            const uint8_t* e = &good[kArchiveHeaderSize + kArchiveEntrySize * i];
            const bool whole = len >= d && len >= d + ReadLe32(e + kOffsetField) + ReadLe32(e + kPackedField);
            const ReadResult r = Read(ArchiveMaps, names[i][0], names[i][1]);
            EXPECT_EQ(r.found, whole) << "length " << len << " entry " << i;
            if (r.found) {
                EXPECT_EQ(r.bytes.size(), ReadLe32(e + kUnpackedField));
            }
        }
    }
}

// The fuzz target, built with the plain file driver, over damaged archives
// made here; the same files seed a libFuzzer run.
TEST_F(ArchiveTest, FuzzTargetSurvivesDamagedArchives)
{
    const fs::path corpus = fs::path(FRIBB3_BINARY_DIR) / "fuzz-corpus" / "archive";
    fs::create_directories(corpus);
    const Bytes good = SampleArchive();
    const uint32_t d = ReadLe32(&good[kDirSizeField]);
    std::vector<Bytes> cases;
    cases.push_back(good);
    cases.push_back({});
    cases.push_back(Bytes(good.begin(), good.begin() + 12));
    cases.push_back(Bytes(good.begin(), good.begin() + d + 10));
    Bytes b = good;
    WriteLe32(&b[kCountField], 0xffffffffu);
    cases.push_back(b);
    b = good;
    WriteLe32(&b[kDirSizeField], kArchiveHeaderSize + 10);
    cases.push_back(b);
    b = good;
    std::memset(EntryAt(b, 1), 'z', kArchiveNameSize);
    cases.push_back(b);
    b = good;
    WriteLe32(EntryAt(b, 0) + kUnpackedField, 0xffffffffu);
    WriteLe32(EntryAt(b, 1) + kOffsetField, 0xfffffff0u);
    WriteLe32(EntryAt(b, 2) + kPackedField, 0);
    cases.push_back(b);
    b = good;
    for (size_t i = d; i < b.size(); i += 7)
        b[i] ^= 0xff;
    cases.push_back(b);

    std::vector<std::string> args = {FRIBB3_ARCHIVE_FUZZ_EXE};
    for (size_t i = 0; i < cases.size(); ++i) {
        const fs::path p = corpus / ("damaged" + std::to_string(i) + ".zda");
        WriteFile(p, cases[i]);
        args.push_back(p.string());
    }
    EXPECT_EQ(RunProgram(args), 0);
}
