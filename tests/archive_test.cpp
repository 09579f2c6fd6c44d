// Archives: the packer and the reader round trip, lookup rules, file helpers, and damaged archives.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
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

TEST_F(ArchiveTest, LookupIsExactCaseSensitiveAndTheFirstNameWins)
{
    OpenBytes(dir, BuildArchive(
                       {{"logo.BMP", {1}}, {"logo.bmp", {2}}, {"logo.bmp", {3}}, {"logos.bmp", {4}}, {"noext", {5}}}));
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

// Every damaged archive below must read as "nothing found" for the damaged entry,
// and leave the entries it names as unharmed readable.
TEST_F(ArchiveTest, DamagedArchivesReadAsNothingForTheDamagedEntries)
{
    const Bytes good = SampleArchive();
    const uint32_t dirSize = ReadLe32(&good[kDirSizeField]);
    const uint32_t dataSize = static_cast<uint32_t>(good.size()) - dirSize;
    const uint32_t lastPacked = ReadLe32(&good[kArchiveHeaderSize + 2 * kArchiveEntrySize + kPackedField]);
    auto set = [](size_t at, uint32_t value) { return [=](Bytes& a) { WriteLe32(&a[at], value); }; };
    auto entry = [](size_t index, size_t field) { return kArchiveHeaderSize + kArchiveEntrySize * index + field; };
    const struct {
        const char* what;
        std::function<void(Bytes&)> damage;
        const char* gone;   // entry that must read as nothing
        const char* intact; // entry that must still read, or null
    } cases[] = {
        {"name without its NUL", [&](Bytes& a) { std::memset(&a[entry(0, 8)], 'x', kArchiveNameSize - 8); }, "logo.bmp",
         "stage1.bin"},
        {"directory below the header", set(kDirSizeField, 11), "logo.bmp", nullptr},
        {"directory for one entry", set(kDirSizeField, kArchiveHeaderSize + kArchiveEntrySize), "chew.wav", nullptr},
        {"directory for one and a half", set(kDirSizeField, kArchiveHeaderSize + kArchiveEntrySize + 26), "logo.bmp",
         nullptr},
        {"directory beyond the file", set(kDirSizeField, static_cast<uint32_t>(good.size()) + 1), "logo.bmp", nullptr},
        {"count beyond the file", set(kCountField, 1000), "logo.bmp", nullptr},
        {"count at the top", set(kCountField, 0xffffffffu), "logo.bmp", nullptr},
        {"offset at the end", set(entry(2, kOffsetField), dataSize), "chew.wav", "logo.bmp"},
        {"offset one byte late", set(entry(2, kOffsetField), dataSize - lastPacked + 1), "chew.wav", "logo.bmp"},
        {"offset wrapping with the size", set(entry(2, kOffsetField), 0xfffffff0u), "chew.wav", "logo.bmp"},
        {"packed one byte too long", set(entry(2, kPackedField), lastPacked + 1), "chew.wav", "logo.bmp"},
        {"unpacked one byte short", set(entry(0, kUnpackedField), 299), "logo.bmp", "stage1.bin"},
        {"unpacked one byte long", set(entry(0, kUnpackedField), 301), "logo.bmp", "stage1.bin"},
        {"unpacked above the limit", set(entry(0, kUnpackedField), kArchiveMaxEntrySize + 1), "logo.bmp", nullptr},
        {"packed above the limit", set(entry(0, kPackedField), 0x80000000u), "logo.bmp", nullptr},
        {"offset into the wrong bytes", set(entry(0, kOffsetField), 1), "logo.bmp", nullptr},
        {"a damaged packed byte", [&](Bytes& a) { a[dirSize + 20] ^= 0x5a; }, "logo.bmp", nullptr},
        {"wrong magic", [](Bytes& a) { std::memcpy(a.data(), "zda", 4); }, "logo.bmp", nullptr},
    };
    for (const auto& c : cases) {
        Bytes a = good;
        c.damage(a);
        OpenBytes(dir, a);
        const std::string gone = c.gone;
        EXPECT_FALSE(
            Read(ArchiveMaps, gone.substr(0, gone.find('.')).c_str(), gone.substr(gone.find('.') + 1).c_str()).found)
            << c.what;
        if (c.intact) {
            const std::string intact = c.intact;
            EXPECT_TRUE(Read(ArchiveMaps, intact.substr(0, intact.find('.')).c_str(),
                             intact.substr(intact.find('.') + 1).c_str())
                            .found)
                << c.what;
        }
    }
    // A directory larger than needed is fine: the data area just starts later.
    Bytes padded = good;
    padded.insert(padded.begin() + dirSize, 8, 0xee);
    WriteLe32(&padded[kDirSizeField], dirSize + 8);
    OpenBytes(dir, padded);
    EXPECT_TRUE(Read(ArchiveMaps, "chew", "wav").found);
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
