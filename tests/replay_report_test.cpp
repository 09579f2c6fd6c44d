// The replay's report lines: the documented key order and the quoting of the status message.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

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

ReplaySnapshot Sample()
{
    ReplaySnapshot s;
    s.frame = 1348;
    s.stage = -1;
    s.attemptFrame = 1348;
    s.x = -7;
    s.y = 2525;
    s.vy = 103;
    s.active = 0;
    s.dead = 1;
    s.finished = 0;
    s.score = 9999;
    s.lives = 99;
    s.ringsLeft = 12;
    s.hurryTimer = 0;
    s.oxygen = -8;
    s.cameraX = 959;
    s.status = "SMASHED";
    return s;
}

TEST(ReplayReport, FinalLineHasEveryKeyInTheDocumentedOrder)
{
    const std::string line = FormatFinalLine(Sample(), 2, "killed");
    EXPECT_EQ(line.rfind("final ", 0), 0u);
    const std::vector<std::string> expected = {"frame", "stage", "aframe", "x",      "y",      "vy",
                                               "active", "dead", "finished", "score", "lives", "rings",
                                               "hurry", "oxygen", "camera", "status", "attempts", "ended"};
    EXPECT_EQ(Keys(line), expected);
    // Negative values and the caps are printed as they are.
    EXPECT_NE(line.find(" x=-7 "), std::string::npos);
    EXPECT_NE(line.find(" oxygen=-8 "), std::string::npos);
    EXPECT_NE(line.find(" score=9999 "), std::string::npos);
    EXPECT_NE(line.find(" status=\"SMASHED\" attempts=2 ended=killed"), std::string::npos);
}

TEST(ReplayReport, TraceLineIsTheFinalLineWithoutItsEnding)
{
    const std::string trace = FormatTraceLine(Sample());
    const std::string final = FormatFinalLine(Sample(), 1, "fell");
    EXPECT_EQ(trace.rfind("trace ", 0), 0u);
    EXPECT_EQ(final.substr(6, trace.size() - 6), trace.substr(6));
    EXPECT_EQ(trace.find('\n'), std::string::npos);
}

TEST(ReplayReport, StatusIsQuotedSoALineStaysOneLineAndParsable)
{
    EXPECT_EQ(QuoteStatus(""), "\"\"");
    EXPECT_EQ(QuoteStatus("FRIBB, RUN!"), "\"FRIBB, RUN!\"");
    EXPECT_EQ(QuoteStatus("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteStatus("a\\b"), "\"a\\\\b\"");
    EXPECT_EQ(QuoteStatus("a\nb"), "\"a\\x0Ab\"");
    EXPECT_EQ(QuoteStatus("\xC4"), "\"\\xC4\"");
}

} // namespace
