// Fuzz target: any text as a text stage map for the map compiler; what compiles must encode to a
// map file the game reads with the column count it was compiled with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "map_text.h"
#include "world/map_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StageMap map;
    std::string error;
    if (!CompileMapText(std::string(reinterpret_cast<const char*>(data), size), map, error))
        return 0;
    const std::vector<uint8_t> bytes = EncodeStageMap(map);
    if (map.columns < 1 || map.columns > kMapMaxColumns ||
        bytes.size() != kMapHeaderSize + static_cast<size_t>(MapColumns(bytes.data())) * kRows)
        std::abort();
    return 0;
}
