// The text map format: a legend of one character per tile code, 12-line map blocks, hex escapes.
#include "map_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

#include "file_io.h"

namespace {

// Codes with a meaning of their own get a memorable character; scenery is
// added per file with "legend" lines or written as a [hh] escape.
struct LegendEntry {
    char c;
    uint8_t code;
};
constexpr LegendEntry kDefaultLegend[] = {
    {'.', 0x00}, {' ', 0x00},                           // empty
    {'#', 0x15}, {'=', 0x17}, {'%', 0x2B},              // solid ground, platform, stone
    {'B', 0x28}, {'?', 0x14}, {'c', 0x16},              // brick, bump block, crumbling floor
    {'o', 0x29}, {'+', 0x1A}, {'$', 0x89},              // ring, extra life, bonus
    {'D', 0x1B}, {'E', 0x1C}, {'F', 0x2F}, {'G', 0x30}, // exit door: top-left, top-right, bottom-left, bottom-right
    {'S', 0x41}, {'@', 0x18},                           // hero start (0x18 only counts in stages 1..10)
    {'C', 0x11},                                        // checkpoint
    {'M', 0x09}, {'b', 0x0D}, {'W', 0x21}, {'A', 0x35}, {'K', 0x79}, // enemies
    {'L', 0x42}, {'P', 0x19},                                        // lift, pushable block
    {'w', 0x55}, {'^', 0x57}, {'X', 0x8C}, {'g', 0x58},              // water, spikes, explosive, gate
};

// The water surface is a 32-pixel picture over two codes; '~' picks the half by column.
constexpr char kWaterSurfaceChar = '~';
constexpr uint8_t kWaterSurfaceEven = 0xA0;
constexpr uint8_t kWaterSurfaceOdd = 0xA1;

constexpr int kNoCode = -1;

struct Parser {
    std::array<int, 256> legend{};
    StageMap* map = nullptr;
    std::string* error = nullptr;
    int lineNumber = 0;

    bool Fail(const std::string& what)
    {
        *error = "line " + std::to_string(lineNumber) + ": " + what;
        return false;
    }
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Parses "0xNN", "NN" (hex) into 0..255; -1 when malformed.
int ParseHexByte(std::string s)
{
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s = s.substr(2);
    if (s.empty() || s.size() > 2)
        return -1;
    int v = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return v;
}

// One row of a block as codes; the column of each cell decides the water surface half.
bool ParseRow(Parser& p, const std::string& line, int firstColumn, std::vector<uint8_t>& out)
{
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const int column = firstColumn + static_cast<int>(out.size());
        if (c == '[') {
            const size_t close = line.find(']', i);
            if (close == std::string::npos)
                return p.Fail("unclosed [ escape");
            const int v = ParseHexByte(line.substr(i + 1, close - i - 1));
            if (v < 0)
                return p.Fail("bad hex escape [" + line.substr(i + 1, close - i - 1) + "]");
            out.push_back(static_cast<uint8_t>(v));
            i = close;
        } else if (c == kWaterSurfaceChar && p.legend[static_cast<unsigned char>(c)] == kNoCode) {
            out.push_back(column % 2 == 0 ? kWaterSurfaceEven : kWaterSurfaceOdd);
        } else {
            const int v = p.legend[static_cast<unsigned char>(c)];
            if (v == kNoCode)
                return p.Fail(std::string("character '") + c + "' is not in the legend");
            out.push_back(static_cast<uint8_t>(v));
        }
    }
    return true;
}

bool ParseLegendLine(Parser& p, const std::string& line)
{
    // "legend X 0xNN": exactly one character between the two blanks.
    if (line.size() < 10 || line[6] != ' ' || line[8] != ' ')
        return p.Fail("expected: legend <character> <hex code>");
    const char c = line[7];
    if (c == '[')
        return p.Fail("'[' starts hex escapes and cannot be in the legend");
    size_t end = line.size();
    while (end > 9 && std::isspace(static_cast<unsigned char>(line[end - 1])))
        --end;
    const int v = ParseHexByte(line.substr(9, end - 9));
    if (v < 0)
        return p.Fail("bad hex code in legend line");
    p.legend[static_cast<unsigned char>(c)] = v;
    return true;
}

std::string StripLineEnd(std::string s)
{
    if (!s.empty() && s.back() == '\r')
        s.pop_back();
    return s;
}

} // namespace

bool CompileMapText(const std::string& text, StageMap& map, std::string& error, std::vector<int>* topRowLines)
{
    if (topRowLines)
        topRowLines->clear();
    Parser p;
    p.legend.fill(kNoCode);
    for (const LegendEntry& e : kDefaultLegend)
        p.legend[static_cast<unsigned char>(e.c)] = e.code;
    p.map = &map;
    p.error = &error;
    map = StageMap{};

    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        ++p.lineNumber;
        line = StripLineEnd(line);
        std::string trimmed = line;
        while (!trimmed.empty() && std::isspace(static_cast<unsigned char>(trimmed.back())))
            trimmed.pop_back();
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        if (trimmed.rfind("legend", 0) == 0) {
            if (!ParseLegendLine(p, line))
                return false;
            continue;
        }
        if (trimmed != "map")
            return p.Fail("expected 'legend', 'map' or a # comment");

        // A block: the next 12 lines verbatim, all of the same width in cells.
        std::array<std::vector<uint8_t>, kRows> rows;
        for (int r = 0; r < kRows; ++r) {
            if (!std::getline(in, line)) {
                ++p.lineNumber;
                return p.Fail("map block ends after " + std::to_string(r) + " of 12 rows");
            }
            ++p.lineNumber;
            if (!ParseRow(p, StripLineEnd(line), map.columns, rows[r]))
                return false;
            if (rows[r].size() != rows[0].size())
                return p.Fail("row has " + std::to_string(rows[r].size()) + " cells, the block's first row " +
                              std::to_string(rows[0].size()));
        }
        const int width = static_cast<int>(rows[0].size());
        if (width == 0)
            return p.Fail("empty map block");
        if (map.columns + width > kMapMaxColumns)
            return p.Fail("more than 65536 columns");
        for (int c = 0; c < width; ++c)
            for (int r = 0; r < kRows; ++r)
                map.cells.push_back(rows[r][c]);
        if (topRowLines)
            topRowLines->insert(topRowLines->end(), static_cast<size_t>(width), p.lineNumber - kRows + 1);
        map.columns += width;
    }
    if (map.columns == 0) {
        p.lineNumber = 0;
        error = "no map block";
        return false;
    }
    return true;
}

MapLoad LoadTextMap(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    std::string text;
    if (!ReadToolInput(path, text, error))
        return MapLoad::Unreadable;
    StageMap map;
    if (!CompileMapText(text, map, error))
        return MapLoad::Invalid;
    bytes = EncodeStageMap(map);
    return MapLoad::Loaded;
}
