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
    std::string text, error;
    if (!ReadToolInput(argv[1], text, error)) {
        std::fprintf(stderr, "%s: cannot read: %s\n", argv[1], error.c_str());
        return 1;
    }
    StageMap map;
    if (!CompileMapText(text, map, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = EncodeStageMap(map);
    if (!WriteToolOutput(argv[2], bytes)) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
