// Parsing the text form of a stage map and writing the binary map format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Rows of a stage; every map block holds exactly this many lines.
constexpr int kMapRows = 12;
// Largest column count the binary format can store (two bytes of count - 1).
constexpr int kMapMaxColumns = 65536;

// A compiled stage: column-major codes, 12 per column.
struct CompiledMap {
    int columns = 0;
    std::vector<uint8_t> cells; // cell (c, r) at c * 12 + r
};

// Compiles the text of a map file. On failure returns false and puts
// "line N: what" into error.
bool CompileMapText(const std::string& text, CompiledMap& map, std::string& error);

// The binary form: low and high byte of (columns - 1), then the cells.
std::vector<uint8_t> EncodeMap(const CompiledMap& map);
