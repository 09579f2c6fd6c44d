// Comparing two state dumps of fribb3-replay --dump: where do two runs part?
#pragma once

#include <string>

// The first place two dumps differ.
struct DumpDifference {
    bool differs = false;
    long frame = 0;    // frame of the first differing record
    std::string field; // "hero.y", "actor[3].dx", "grid.live"; a record name when the records themselves differ
    std::string a, b;  // its value in each dump ("(none)" where a dump has no such record or ends)
};

// Compares the "dump" lines of two outputs in order (other lines are ignored)
// and names the first frame and field that differ.
DumpDifference FirstDumpDifference(const std::string& a, const std::string& b);

// "frame F: FIELD A -> B", or "no difference" when the dumps agree.
std::string DescribeDumpDifference(const DumpDifference& d);
