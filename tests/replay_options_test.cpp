// The fribb3-replay command line: accepted forms, defaults and every refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/replay/replay_options.h"

namespace {

bool Parse(std::vector<const char*> args, ReplayOptions& o, std::string& error)
{
    args.insert(args.begin(), "fribb3-replay");
    return ParseReplayArgs(static_cast<int>(args.size()), args.data(), o, error);
}

TEST(ReplayOptions, EveryOptionTakesItsValueAndShotsAccumulate)
{
    ReplayOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--stage", "0", "--frames", "500", "--trace", "--shot", "1:a.bmp", "--shot", "200:dir/b:c.bmp",
                       "--attempts", "3", "--data", "d", "--workdir", "w", "--map", "m.txt", "-"},
                      o, error))
        << error;
    EXPECT_EQ(o.stage, 0);
    EXPECT_EQ(o.maxFrames, 500);
    EXPECT_TRUE(o.trace);
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[0].frame, 1);
    EXPECT_EQ(o.shots[0].path, "a.bmp");
    // Only the first colon separates the frame from the path.
    EXPECT_EQ(o.shots[1].frame, 200);
    EXPECT_EQ(o.shots[1].path, "dir/b:c.bmp");
    EXPECT_EQ(o.attempts, 3);
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.workDir, "w");
    EXPECT_EQ(o.mapFile, "m.txt");
    EXPECT_EQ(o.scriptPath, "-"); // standard input
}

TEST(ReplayOptions, BootHasNoAttemptLimitAndNoStartingStage)
{
    ReplayOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--boot", "s"}, o, error)) << error;
    EXPECT_TRUE(o.boot);
    EXPECT_GT(o.attempts, 1000000);
    ASSERT_TRUE(Parse({"--attempts", "4", "--boot", "s"}, o, error)) << error;
    EXPECT_EQ(o.attempts, 4);
    EXPECT_FALSE(Parse({"--boot", "--stage", "2", "s"}, o, error));
    EXPECT_FALSE(Parse({"--map", "m.txt", "--boot", "s"}, o, error));
    EXPECT_NE(error.find("--boot"), std::string::npos) << error;
}

TEST(ReplayOptions, BadValuesAreRefusedWithTheOptionNamed)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--stage", "11", "s"},
        {"--stage", "-1", "s"},
        {"--stage", "1x", "s"},
        {"--frames", "0", "s"},
        {"--frames", "s"},
        {"--attempts", "0", "s"},
        {"--shot", "0:a.bmp", "s"},
        {"--shot", "5:", "s"},
        {"--shot", "a.bmp", "s"},
        {"--shot", "x:a.bmp", "s"},
        {"--map", "", "s"},
        {"--data"},
        {"--stage", "99999999999999999999", "s"},
    };
    for (const auto& args : bad) {
        ReplayOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << args[0];
        EXPECT_NE(error.find(args[0]), std::string::npos) << error;
    }
}

} // namespace
