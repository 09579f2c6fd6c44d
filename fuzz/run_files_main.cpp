// Runs a fuzz target over the files named on the command line (no libFuzzer needed).
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        FILE* f = std::fopen(argv[i], "rb");
        if (!f)
            continue;
        std::vector<uint8_t> bytes;
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(f);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
