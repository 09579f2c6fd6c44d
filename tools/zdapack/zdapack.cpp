// zdapack: packs files into a .zda game archive; each entry is named after its file.
//   zdapack OUTPUT.zda [FILE...]
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "assets/archive_format.h"
#include "file_io.h"

namespace {

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zdapack OUTPUT.zda [FILE...]\n");
        return 2;
    }
    std::vector<ArchiveInput> inputs;
    for (int i = 2; i < argc; ++i) {
        ArchiveInput in;
        in.name = BaseName(argv[i]);
        if (in.name.size() >= kArchiveNameSize) {
            std::fprintf(stderr, "zdapack: entry name too long (max %zu): %s\n", kArchiveNameSize - 1, in.name.c_str());
            return 1;
        }
        std::string bytes, why;
        if (!ReadToolInput(argv[i], bytes, why)) {
            std::fprintf(stderr, "zdapack: cannot read %s: %s\n", argv[i], why.c_str());
            return 1;
        }
        in.bytes.assign(bytes.begin(), bytes.end());
        for (const ArchiveInput& earlier : inputs)
            if (earlier.name == in.name)
                std::fprintf(stderr, "zdapack: warning: %s is packed twice; the game only ever reads the first\n",
                             in.name.c_str());
        inputs.push_back(std::move(in));
    }
    const std::vector<uint8_t> archive = BuildArchive(inputs);
    if (archive.empty()) {
        std::fprintf(stderr, "zdapack: cannot build archive\n");
        return 1;
    }
    // The archive replaces its output by a rename, which must never land on a device or folder.
    struct stat target {};
    if (stat(argv[1], &target) == 0 && !S_ISREG(target.st_mode)) {
        std::fprintf(stderr, "zdapack: cannot write %s: not a regular file\n", argv[1]);
        return 1;
    }
    const std::string tmp = std::string(argv[1]) + ".tmp";
    if (!WriteToolOutput(tmp, archive) || std::rename(tmp.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "zdapack: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
