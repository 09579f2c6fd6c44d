// Parsing pixel-art blocks and resolving derived blocks (mirror, recolour, overlay...).
#include "pixel_art.h"

#include <cstdlib>
#include <set>
#include <sstream>

#include "file_io.h"
#include "palette.h"
#include "source_error.h"

namespace {

std::vector<std::string> SplitWords(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

int ParseInt(const std::string& token, const ArtBlock& block)
{
    char* end = nullptr;
    const long v = std::strtol(token.c_str(), &end, 10);
    if (token.empty() || *end != '\0')
        FailAt(block.file, block.line, "expected a number, got '" + token + "'");
    return static_cast<int>(v);
}

std::string SourceName(const std::string& token, const ArtBlock& block)
{
    if (!token.empty() && token[0] >= '0' && token[0] <= '9')
        return TileName(ParseCode(token, block.file, block.line));
    return token;
}

CharGrid Mirror(CharGrid g)
{
    for (std::string& row : g)
        row.assign(row.rbegin(), row.rend());
    return g;
}

CharGrid Flip(CharGrid g)
{
    return CharGrid(g.rbegin(), g.rend());
}

// Moves the picture by (dx, dy); wrap keeps what leaves one edge at the other,
// otherwise the uncovered part becomes transparent.
CharGrid Move(const CharGrid& g, int dx, int dy, bool wrap)
{
    const int h = static_cast<int>(g.size());
    const int w = h ? static_cast<int>(g[0].size()) : 0;
    CharGrid out(h, std::string(w, kKeyChar));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x - dx, sy = y - dy;
            if (wrap) {
                sx = ((sx % w) + w) % w;
                sy = ((sy % h) + h) % h;
            } else if (sx < 0 || sy < 0 || sx >= w || sy >= h) {
                continue;
            }
            out[y][x] = g[sy][sx];
        }
    return out;
}

CharGrid Resolve(const ArtLibrary& library, const std::string& name, std::set<std::string>& busy, const ArtBlock* user)
{
    const auto it = library.blocks.find(name);
    if (it == library.blocks.end()) {
        if (user)
            FailAt(user->file, user->line, "unknown block '" + name + "'");
        throw std::runtime_error("unknown block '" + name + "'");
    }
    const ArtBlock& block = it->second;
    if (block.derivation.empty())
        return block.rows;
    if (!busy.insert(name).second)
        FailAt(block.file, block.line, "block '" + name + "' derives from itself");
    const std::vector<std::string>& d = block.derivation;
    CharGrid g = Resolve(library, SourceName(d[0], block), busy, &block);
    for (size_t i = 1; i < d.size(); ++i) {
        const std::string& op = d[i];
        if (op == "mirror") {
            g = Mirror(g);
        } else if (op == "flip") {
            g = Flip(g);
        } else if ((op == "shift" || op == "roll") && i + 2 < d.size()) {
            const int dx = ParseInt(d[i + 1], block), dy = ParseInt(d[i + 2], block);
            g = Move(g, dx, dy, op == "roll");
            i += 2;
        } else if (op == "crop" && i + 4 < d.size()) {
            const int x = ParseInt(d[i + 1], block), y = ParseInt(d[i + 2], block);
            const int w = ParseInt(d[i + 3], block), h = ParseInt(d[i + 4], block);
            const int gw = g.empty() ? 0 : static_cast<int>(g[0].size());
            if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > gw || y + h > static_cast<int>(g.size()))
                FailAt(block.file, block.line, "crop outside the source");
            CharGrid part;
            for (int row = y; row < y + h; ++row)
                part.push_back(g[row].substr(x, w));
            g = part;
            i += 4;
        } else if (op == "recolor") {
            while (i + 1 < d.size() && d[i + 1].size() == 2) {
                const char from = d[i + 1][0], to = d[i + 1][1];
                for (std::string& row : g)
                    for (char& c : row)
                        if (c == from)
                            c = to;
                ++i;
            }
        } else if (op == "over" && i + 1 < d.size()) {
            const CharGrid top = Resolve(library, SourceName(d[i + 1], block), busy, &block);
            for (size_t y = 0; y < g.size() && y < top.size(); ++y)
                for (size_t x = 0; x < g[y].size() && x < top[y].size(); ++x)
                    if (top[y][x] != kKeyChar)
                        g[y][x] = top[y][x];
            ++i;
        } else {
            FailAt(block.file, block.line, "unknown or incomplete operation '" + op + "'");
        }
    }
    busy.erase(name);
    return g;
}

void Store(ArtLibrary& library, ArtBlock& block)
{
    if (block.name.empty())
        return;
    if (block.derivation.empty()) {
        if (block.rows.empty())
            FailAt(block.file, block.line, "block '" + block.name + "' has no rows");
        for (const std::string& row : block.rows)
            if (row.size() != block.rows[0].size())
                FailAt(block.file, block.line, "rows of '" + block.name + "' differ in width");
    }
    if (!library.blocks.emplace(block.name, block).second)
        FailAt(block.file, block.line, "block '" + block.name + "' defined twice");
    block = ArtBlock();
}

} // namespace

std::string TileName(int code)
{
    return "tile:" + std::to_string(code);
}

int ParseCode(const std::string& token, const std::string& file, int line)
{
    char* end = nullptr;
    const long v = std::strtol(token.c_str(), &end, 0);
    if (token.empty() || *end != '\0' || v < 0 || v > 0xFFFF)
        FailAt(file, line, "bad tile code '" + token + "'");
    return static_cast<int>(v);
}

void LoadArtFile(ArtLibrary& library, const std::string& path)
{
    std::string all, why;
    if (!ReadToolInput(path, all, why))
        FailAt(path, 0, "cannot read pixel-art file: " + why);
    std::istringstream in(all);
    ArtBlock block;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (!text.empty() && text[0] == '#')
            continue;
        if (IsBlank(text)) {
            Store(library, block);
            continue;
        }
        const std::vector<std::string> words = SplitWords(text);
        if (words[0] == "art" || words[0] == "tile") {
            Store(library, block);
            if (words.size() < 2)
                FailAt(path, line, "block header needs a name");
            block.file = path;
            block.line = line;
            block.name = words[0] == "tile" ? TileName(ParseCode(words[1], path, line)) : words[1];
            size_t next = 2;
            for (; next < words.size() && words[next] != "="; ++next)
                block.title += (block.title.empty() ? "" : " ") + words[next];
            if (next < words.size()) { // "= SOURCE OPS": a derived block
                if (next + 1 >= words.size())
                    FailAt(path, line, "derived block needs a source");
                block.derivation.assign(words.begin() + next + 1, words.end());
                Store(library, block);
            }
            continue;
        }
        if (block.name.empty())
            FailAt(path, line, "pixel rows outside a block");
        if (text.find(' ') != std::string::npos)
            FailAt(path, line, "pixel rows may not contain blanks");
        block.rows.push_back(text);
    }
    Store(library, block);
}

CharGrid ResolveArt(const ArtLibrary& library, const std::string& name)
{
    std::set<std::string> busy;
    return Resolve(library, name, busy, nullptr);
}
