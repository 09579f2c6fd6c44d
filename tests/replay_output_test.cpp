// What fribb3-replay prints: the final line's fields and quoting, and the first difference of two state dumps.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/dump_diff.h"
#include "app/replay_report.h"

namespace {

std::vector<std::string> Keys(const std::string& line)
{
    std::vector<std::string> keys;
    const std::regex field("([a-z]+)=");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), field); it != std::sregex_iterator(); ++it)
        keys.push_back((*it)[1]);
    return keys;
}

} // namespace

TEST(ReplayOutput, FinalLineHasEveryKeyInTheDocumentedOrder)
{
    ReplaySnapshot s;
    s.x = -7;
    s.status = "SAY \"HI\"\n";
    const std::string line = FormatFinalLine(s, 2, "killed", 0x0123456789abcdefull);
    const std::vector<std::string> expected = {"frame", "stage", "aframe",   "x",      "y",      "vy",
                                               "active", "dead", "finished", "score", "lives", "rings",
                                               "hurry", "oxygen", "camera", "status", "attempts", "ended", "digest"};
    EXPECT_EQ(Keys(line), expected);
    EXPECT_NE(line.find(" x=-7 "), std::string::npos);
    EXPECT_NE(line.find(" status=\"SAY \\\"HI\\\"\\x0A\" attempts=2 ended=killed digest=0123456789abcdef"),
              std::string::npos)
        << line;
    const std::string trace = FormatTraceLine(s);
    EXPECT_EQ(trace.substr(6), line.substr(6, trace.size() - 6));
}

TEST(ReplayOutput, DiffNamesTheFirstFrameAndFieldThatDiffer)
{
    const std::string base = "final ignored\n"
                             "dump 1 hero x=16 y=100\n"
                             "dump 1 world statusMessage=\"A B\" score=0\n"
                             "dump 2 hero x=18 y=100\n"
                             "dump 2 actor[3] x=5\n"
                             "dump 2 grid live=aa\n";
    auto with = [&](const std::string& from, const std::string& to) {
        std::string s = base;
        return s.replace(s.find(from), from.size(), to);
    };
    struct Case {
        std::string other, expected;
    };
    const Case cases[] = {
        {base, "no difference"},
        {with("dump 2 hero x=18", "dump 2 hero x=19"), "frame 2: hero.x 18 -> 19"},
        {with("\"A B\"", "\"A C\""), "frame 1: world.statusMessage \"A B\" -> \"A C\""},
        {with("dump 2 actor[3] x=5\n", ""), "frame 2: record 2 actor[3] -> 2 grid"},
        {with("dump 2 grid live=aa\n", ""), "frame 2: grid present -> (none)"},
        {with("score=0", "score=0 extra=1"), "frame 1: world.extra (none) -> 1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DescribeDumpDifference(FirstDumpDifference(base, c.other)), c.expected) << c.other;
}
