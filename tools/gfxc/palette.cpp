// Reading the palette file and turning palette characters into colours.
#include "palette.h"

#include <cstdlib>
#include <sstream>

#include "file_io.h"
#include "source_error.h"

namespace {

bool ParseHex(const std::string& text, Rgb& out)
{
    if (text.size() != 6)
        return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (*end != '\0')
        return false;
    out = static_cast<Rgb>(v);
    return true;
}

} // namespace

Palette LoadPalette(const std::string& path)
{
    std::string all, why;
    if (!ReadToolInput(path, all, why))
        FailAt(path, 0, "cannot read palette: " + why);
    std::istringstream in(all);
    Palette palette;
    palette.colour[static_cast<unsigned char>(kKeyChar)] = kKeyColour;
    palette.defined[static_cast<unsigned char>(kKeyChar)] = true;
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::istringstream fields(text);
        std::string key, hex;
        if (!(fields >> key) || key[0] == '#')
            continue;
        Rgb value = 0;
        if (key.size() != 1 || !(fields >> hex) || !ParseHex(hex, value))
            FailAt(path, line, "expected 'C RRGGBB name'");
        const unsigned char c = static_cast<unsigned char>(key[0]);
        if (c >= palette.colour.size() || c <= ' ')
            FailAt(path, line, "palette character must be printable ASCII");
        if (palette.defined[c])
            FailAt(path, line, std::string("character '") + key + "' defined twice");
        if (value == kKeyColour)
            FailAt(path, line, "only '.' may be the key colour");
        palette.colour[c] = value;
        palette.defined[c] = true;
    }
    return palette;
}

bool HasColour(const Palette& palette, char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < palette.defined.size() && palette.defined[u];
}

Rgb ColourOf(const Palette& palette, char c, const std::string& file, int line)
{
    if (!HasColour(palette, c))
        FailAt(file, line, std::string("colour '") + c + "' is not in the palette");
    return palette.colour[static_cast<unsigned char>(c)];
}

Rgb ParseColour(const Palette& palette, const std::string& token, const std::string& file, int line)
{
    Rgb value = 0;
    if (token.size() == 7 && token[0] == '#' && ParseHex(token.substr(1), value))
        return value;
    if (token.size() == 1)
        return ColourOf(palette, token[0], file, line);
    FailAt(file, line, "bad colour '" + token + "' (palette character or #RRGGBB)");
}
