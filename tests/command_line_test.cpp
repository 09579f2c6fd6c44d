// Command line: switches, their order, the help text and unknown arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "test_support.h"

namespace {

CommandLine Parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "fribb3");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

struct Expect {
    int fullscreen, zoom, smooth, scale2x, opengl, hd, depth;
};

void ExpectDisplay(const CommandLine& cl, Expect e)
{
    const DisplayConfig& d = cl.display;
    EXPECT_EQ(d.fullscreen, e.fullscreen);
    EXPECT_EQ(d.zoom, e.zoom);
    EXPECT_EQ(d.smooth, e.smooth);
    EXPECT_EQ(d.scale2x, e.scale2x);
    EXPECT_EQ(d.opengl, e.opengl);
    EXPECT_EQ(d.hd, e.hd);
    EXPECT_EQ(d.depth, e.depth);
}

} // namespace

TEST(CommandLine, EachSwitchOnItsOwn)
{
    ExpectDisplay(Parse({"-fs"}), {1, 1, 0, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-w"}), {0, 0, 0, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-aa"}), {1, 1, 1, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-s2x"}), {1, 1, 0, 1, 0, 0, 16});
    ExpectDisplay(Parse({"-ogl"}), {1, 1, 0, 0, 1, 0, 16});
    ExpectDisplay(Parse({"-hd"}), {1, 1, 0, 0, 0, 1, 16});
    ExpectDisplay(Parse({"-x2"}), {1, 1, 0, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-b16"}), {1, 1, 0, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-b24"}), {1, 1, 0, 0, 0, 0, 24});
}

TEST(CommandLine, LaterSwitchesOverrideEarlierOnes)
{
    // -aa then -w: a plain 320x240 window; -w then -aa: a smoothed 640x480 window.
    ExpectDisplay(Parse({"-aa", "-w"}), {0, 0, 0, 0, 0, 0, 16});
    ExpectDisplay(Parse({"-w", "-aa"}), {0, 1, 1, 0, 0, 0, 16});
    // -s2x then -w keeps scale2x set, but the 1x window ignores it.
    ExpectDisplay(Parse({"-s2x", "-w"}), {0, 0, 0, 1, 0, 0, 16});
    ExpectDisplay(Parse({"-ogl", "-w"}), {0, 0, 0, 0, 1, 0, 16});
    ExpectDisplay(Parse({"-ogl", "-hd"}), {1, 1, 0, 0, 1, 1, 16});
    ExpectDisplay(Parse({"-aa", "-s2x"}), {1, 1, 0, 1, 0, 0, 16});
    ExpectDisplay(Parse({"-s2x", "-x2"}), {1, 1, 0, 0, 0, 0, 16});
}
