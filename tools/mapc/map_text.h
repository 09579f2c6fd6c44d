// Parsing the text form of a stage map into the binary map format, for every tool that reads text maps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/map_format.h"

// Compiles the text of a map file; every map block holds exactly 12 lines. On
// failure returns false and puts "line N: what" into error. topRowLines, when
// given, receives for every column the source line of its top row (row r lies
// r lines further down).
bool CompileMapText(const std::string& text, StageMap& map, std::string& error,
                    std::vector<int>* topRowLines = nullptr);

// How loading a text map file went.
enum class MapLoad { Loaded, Unreadable, Invalid };

// Reads the text map at path through the tools' shared reader (regular files of at most
// kMaxToolInput bytes, "-" for standard input), compiles it and puts the binary map file into bytes.
// Otherwise says why in error: the reader's words when Unreadable, "line N: what" when Invalid.
MapLoad LoadTextMap(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
