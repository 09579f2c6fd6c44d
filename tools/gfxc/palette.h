// The shared palette: one character per colour, read from a text file.
#pragma once

#include <array>
#include <string>

#include "image.h"

// Character that always means the transparent key colour.
constexpr char kKeyChar = '.';

// Colours by character; unset characters are invalid.
struct Palette {
    std::array<Rgb, 128> colour{};
    std::array<bool, 128> defined{};
};

// Reads lines "C RRGGBB name..." ('#' starts a comment). '.' is always the key
// and may not be redefined. Throws on malformed lines or duplicates.
Palette LoadPalette(const std::string& path);

// True when c names a colour of the palette (the key included).
bool HasColour(const Palette& palette, char c);

// Colour of character c; throws (naming file and line) when it is not defined.
Rgb ColourOf(const Palette& palette, char c, const std::string& file, int line);

// Reads a colour token: one palette character or "#RRGGBB". Throws when invalid.
Rgb ParseColour(const Palette& palette, const std::string& token, const std::string& file, int line);
