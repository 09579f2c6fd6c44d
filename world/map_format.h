// The binary stage map, as the map compiler writes it and the stage loader reads it:
// two bytes of (column count - 1), low byte first, then the cells column-major, 12 per column.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/geometry.h"

// Bytes before the first cell.
constexpr size_t kMapHeaderSize = 2;
// Largest column count the header can store.
constexpr int kMapMaxColumns = 65536;

// A stage map: cell (c, r) is cells[c * 12 + r].
struct StageMap {
    int columns = 0;
    std::vector<uint8_t> cells;
};

// Column count stored in a map header (at least kMapHeaderSize bytes).
inline int MapColumns(const uint8_t* data)
{
    return data[0] + 256 * data[1] + 1;
}

// The map file of map (1..kMapMaxColumns columns): header, then the cells.
inline std::vector<uint8_t> EncodeStageMap(const StageMap& map)
{
    std::vector<uint8_t> out(kMapHeaderSize + map.cells.size());
    const int stored = map.columns - 1;
    out[0] = static_cast<uint8_t>(stored & 0xFF);
    out[1] = static_cast<uint8_t>((stored >> 8) & 0xFF);
    std::copy(map.cells.begin(), map.cells.end(), out.begin() + kMapHeaderSize);
    return out;
}
