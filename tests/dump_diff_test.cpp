// Reading two state dumps and naming where they part, quoted texts included.
#include <gtest/gtest.h>

#include <string>

#include "tools/replay/dump_diff.h"
#include "tools/replay/replay_report.h"

TEST(DumpDiff, NamesTheFirstFrameAndFieldThatDiffer)
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
    // Texts are quoted so that a line stays one line and its spaces stay inside the field.
    EXPECT_EQ(QuoteStatus("SAY \"HI\"\\\n\xC4"), "\"SAY \\\"HI\\\"\\\\\\x0A\\xC4\"");
}
