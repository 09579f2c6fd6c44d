// The text map compiler (fribb3-mapc) and the stage maps it builds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::string kCompiler = std::string(FRIBB3_BINARY_DIR) + "/tools/mapc/fribb3-mapc";

struct CompileResult {
    int exitCode = -1;
    std::vector<uint8_t> bytes;
};

using testsupport::ReadBytes;

CompileResult Compile(const std::string& text)
{
    const std::string dir = std::string(FRIBB3_BINARY_DIR) + "/mapc-test";
    std::system(("mkdir -p '" + dir + "'").c_str());
    // Tests run in parallel processes: one file pair per test.
    const std::string base = dir + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string src = base + ".txt";
    const std::string out = base + ".bin";
    std::remove(out.c_str());
    std::ofstream(src, std::ios::binary) << text;
    CompileResult r;
    const std::string cmd = "'" + kCompiler + "' '" + src + "' '" + out + "' 2>/dev/null";
    r.exitCode = testsupport::ExitCodeOf(std::system(cmd.c_str()));
    r.bytes = ReadBytes(out);
    return r;
}

// A block of 12 rows: the rows given, then rows of `width` dots.
std::string Block(const std::vector<std::string>& rows, size_t width = 0)
{
    if (width == 0)
        width = rows[0].size();
    std::string s = "map\n";
    for (int r = 0; r < 12; ++r)
        s += (r < static_cast<int>(rows.size()) ? rows[r] : std::string(width, '.')) + "\n";
    return s;
}

uint8_t Cell(const std::vector<uint8_t>& bin, int column, int row)
{
    return bin.at(2 + static_cast<size_t>(column) * 12 + row);
}

TEST(MapCompiler, WritesColumnCountMinusOneThenColumnMajorCells)
{
    const CompileResult r = Compile(Block({"#o.", ".S#"}));
    ASSERT_EQ(r.exitCode, 0);
    ASSERT_EQ(r.bytes.size(), 2u + 3 * 12);
    EXPECT_EQ(r.bytes[0], 2);
    EXPECT_EQ(r.bytes[1], 0);
    EXPECT_EQ(Cell(r.bytes, 0, 0), 0x15);
    EXPECT_EQ(Cell(r.bytes, 0, 1), 0x00);
    EXPECT_EQ(Cell(r.bytes, 1, 0), 0x29);
    EXPECT_EQ(Cell(r.bytes, 1, 1), 0x41);
    EXPECT_EQ(Cell(r.bytes, 2, 1), 0x15);
}

TEST(MapCompiler, RefusesMalformedMaps)
{
    EXPECT_NE(Compile("").exitCode, 0) << "no block";
    EXPECT_NE(Compile("map\n...\n...\n").exitCode, 0) << "fewer than 12 rows";
    std::string ragged = "map\n...\n";
    for (int i = 0; i < 11; ++i)
        ragged += "..\n";
    EXPECT_NE(Compile(ragged).exitCode, 0) << "rows of different widths";
    EXPECT_NE(Compile(Block({"..&"})).exitCode, 0) << "character outside the legend";
    EXPECT_NE(Compile(Block({"[zz]"})).exitCode, 0) << "bad escape";
    EXPECT_NE(Compile(Block({"[12"})).exitCode, 0) << "unclosed escape";
    EXPECT_NE(Compile("legend t 1ff\n" + Block({"t"})).exitCode, 0) << "code above 255";
    EXPECT_NE(Compile("mop\n").exitCode, 0) << "unknown directive";
}

} // namespace
