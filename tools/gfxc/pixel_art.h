// Pixel-art source files: named blocks of palette characters, or blocks derived from others.
//
// Format (one block after another, '#' lines are comments):
//   art NAME                 a picture of any size: the following non-empty lines,
//   tile CODE [title...]     a 16x16 tile of the sheet (CODE decimal or 0x hex);
//   <rows of palette chars>  every row the same width, ended by a blank line
//   tile CODE [title] = SOURCE OPS   a derived block (SOURCE: a tile code or an art name)
// OPS, applied left to right: mirror, flip, shift DX DY, roll DX DY, crop X Y W H,
// recolor AB CD ... (A becomes B), over SOURCE (draws SOURCE's opaque pixels on top).
#pragma once

#include <map>
#include <string>
#include <vector>

// A grid of palette characters, rows of equal length.
using CharGrid = std::vector<std::string>;

// One block as written in its file.
struct ArtBlock {
    std::string name;  // "tile:N" for tiles (N decimal), else the art name
    std::string title; // free text after a tile code
    std::string file;
    int line = 0;
    CharGrid rows;                       // drawn blocks
    std::vector<std::string> derivation; // derived blocks: SOURCE followed by OPS tokens
};

// Every block read so far, by name.
struct ArtLibrary {
    std::map<std::string, ArtBlock> blocks;
};

// Name under which tile CODE is stored.
std::string TileName(int code);

// Parses a tile code, decimal or 0x hex; throws when malformed.
int ParseCode(const std::string& token, const std::string& file, int line);

// Reads every block of a file into the library; throws on syntax errors and on
// a name defined twice.
void LoadArtFile(ArtLibrary& library, const std::string& path);

// The resolved character grid of a block (derivations applied); throws on
// unknown names and cycles.
CharGrid ResolveArt(const ArtLibrary& library, const std::string& name);
