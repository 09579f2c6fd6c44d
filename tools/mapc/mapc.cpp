// fribb3-mapc: compiles one text stage map into the binary map format.
#include <cstdio>
#include <string>

#include "file_io.h"
#include "map_text.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fribb3-mapc <map.txt> <map.bin>\n");
        return 2;
    }
    std::string error;
    std::vector<uint8_t> bytes;
    const MapLoad load = LoadTextMap(argv[1], bytes, error);
    if (load != MapLoad::Loaded) {
        std::fprintf(stderr, "%s: %s%s\n", argv[1], load == MapLoad::Unreadable ? "cannot read: " : "", error.c_str());
        return 1;
    }
    if (!WriteToolOutput(argv[2], bytes)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
