// Parsing the text form of a stage map into the binary map format's cells.
#pragma once

#include <string>
#include <vector>

#include "world/map_format.h"

// Compiles the text of a map file; every map block holds exactly 12 lines. On
// failure returns false and puts "line N: what" into error. topRowLines, when
// given, receives for every column the source line of its top row (row r lies
// r lines further down).
bool CompileMapText(const std::string& text, StageMap& map, std::string& error,
                    std::vector<int>* topRowLines = nullptr);
