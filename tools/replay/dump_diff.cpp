// Reading dump lines field by field and finding where two dumps first part.
#include "tools/replay/dump_diff.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kNone = "(none)";

// One dump line: "dump FRAME RECORD name=value ...", values possibly quoted with escapes.
struct DumpRecord {
    long frame = 0;
    std::string record;
    std::vector<std::pair<std::string, std::string>> fields;
};

// Splits at spaces outside double quotes; a backslash inside quotes keeps the next character.
std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> out;
    std::string token;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' && !quoted) {
            if (!token.empty())
                out.push_back(token);
            token.clear();
            continue;
        }
        token += c;
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\' && quoted && i + 1 < line.size())
            token += line[++i];
    }
    if (!token.empty())
        out.push_back(token);
    return out;
}

std::vector<DumpRecord> Records(const std::string& text)
{
    std::vector<DumpRecord> records;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> t = Tokens(line);
        if (t.size() < 3 || t[0] != "dump")
            continue;
        DumpRecord r;
        r.frame = std::strtol(t[1].c_str(), nullptr, 10);
        r.record = t[2];
        for (size_t i = 3; i < t.size(); ++i) {
            const size_t eq = t[i].find('=');
            r.fields.emplace_back(t[i].substr(0, eq), eq == std::string::npos ? "" : t[i].substr(eq + 1));
        }
        records.push_back(r);
    }
    return records;
}

DumpDifference Differ(long frame, const std::string& field, const std::string& a, const std::string& b)
{
    return DumpDifference{true, frame, field, a, b};
}

} // namespace

DumpDifference FirstDumpDifference(const std::string& a, const std::string& b)
{
    const std::vector<DumpRecord> ra = Records(a), rb = Records(b);
    for (size_t i = 0; i < ra.size() || i < rb.size(); ++i) {
        if (i >= ra.size())
            return Differ(rb[i].frame, rb[i].record, kNone, "present");
        if (i >= rb.size())
            return Differ(ra[i].frame, ra[i].record, "present", kNone);
        const DumpRecord& x = ra[i];
        const DumpRecord& y = rb[i];
        if (x.frame != y.frame || x.record != y.record) {
            // One run has a record (an actor, an effect, a whole frame) the other has not.
            const long frame = std::min(x.frame, y.frame);
            return Differ(frame, "record", std::to_string(x.frame) + " " + x.record,
                          std::to_string(y.frame) + " " + y.record);
        }
        for (size_t f = 0; f < x.fields.size() || f < y.fields.size(); ++f) {
            const std::string na = f < x.fields.size() ? x.fields[f].first : kNone;
            const std::string nb = f < y.fields.size() ? y.fields[f].first : kNone;
            const std::string va = f < x.fields.size() ? x.fields[f].second : kNone;
            const std::string vb = f < y.fields.size() ? y.fields[f].second : kNone;
            if (na != nb || va != vb)
                return Differ(x.frame, x.record + "." + (na != kNone ? na : nb), va, vb);
        }
    }
    return DumpDifference{};
}

std::string DescribeDumpDifference(const DumpDifference& d)
{
    if (!d.differs)
        return "no difference";
    return "frame " + std::to_string(d.frame) + ": " + d.field + " " + d.a + " -> " + d.b;
}
