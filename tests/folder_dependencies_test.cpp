// The folders depend one way (README, "Source layout"), and SDL, SDL_mixer and libmodplug stay out of core/, world/ and
// game/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// Which folders the files of each folder may include, besides their own.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"core", {}},
    {"platform", {"core"}},
    {"assets", {"core", "platform"}},
    {"audio", {"core", "assets"}},
    {"world", {"core"}},
    {"game", {"core", "world", "platform", "assets", "audio"}},
    {"app", {"core", "world", "game", "platform", "assets", "audio"}},
    {"tools/replay", {"core", "world", "game", "platform", "assets", "audio", "app"}},
};
// Folders whose files never see the libraries (they stay deterministic and headless).
const std::set<std::string> kLibraryFree = {"core", "world", "game"};

// Folder of a project include ("world/level_map.h" -> "world", "tools/replay/state_dump.h" -> "tools/replay"),
// or the library an include of SDL, SDL_mixer or libmodplug names ("SDL"), or "" for anything else.
std::string IncludedFrom(const std::string& line)
{
    static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]*)[>"])");
    std::smatch m;
    if (!std::regex_search(line, m, include))
        return "";
    const std::string path = m[1];
    if (path.rfind("SDL", 0) == 0 || path.find("/SDL") != std::string::npos ||
        path.find("modplug") != std::string::npos)
        return "SDL";
    const size_t slash = path.find('/');
    if (slash == std::string::npos)
        return "";
    const std::string top = path.substr(0, slash);
    const size_t second = path.find('/', slash + 1);
    return top == "tools" && second != std::string::npos ? path.substr(0, second) : top;
}

} // namespace

TEST(FolderDependencies, EachFolderIncludesOnlyWhatTheRuleAllows)
{
    int scanned = 0;
    for (const auto& [folder, allowed] : kMayInclude) {
        const fs::path root = fs::path(FRIBB3_SOURCE_DIR) / folder;
        ASSERT_TRUE(fs::is_directory(root)) << root;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
            if (!e.is_regular_file())
                continue;
            ++scanned;
            std::ifstream in(e.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                const std::string from = IncludedFrom(line);
                const std::string where =
                    fs::relative(e.path(), FRIBB3_SOURCE_DIR).string() + ":" + std::to_string(number);
                if (from == "SDL") {
                    EXPECT_EQ(kLibraryFree.count(folder), 0u) << where << " includes an SDL or modplug header";
                } else if (kMayInclude.count(from) && from != folder) {
                    EXPECT_EQ(allowed.count(from), 1u)
                        << where << ": " << folder << "/ may not include " << from << "/";
                }
            }
        }
    }
    EXPECT_GT(scanned, 50);
}
