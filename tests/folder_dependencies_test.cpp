// The folders depend one way (README, "Source layout"), the modules of game/, world/ and audio/ too, and SDL,
// SDL_mixer and libmodplug stay out of core/, world/ and game/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

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

namespace {

// The modules of a folder (a .cpp and its .h) include each other one way; at least `fewest`
// modules are expected there, so a moved folder cannot pass unseen.
void ExpectNoIncludeCycle(const std::string& folder, size_t fewest)
{
    const std::regex include("^\\s*#\\s*include\\s*\"" + folder + "/(\\w+)\\.h\"");
    std::map<std::string, std::set<std::string>> includes;
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(FRIBB3_SOURCE_DIR) / folder)) {
        const std::string module = e.path().stem().string();
        std::ifstream in(e.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line))
            if (std::regex_search(line, m, include) && m[1] != module)
                includes[module].insert(m[1]);
        includes[module];
    }
    ASSERT_GE(includes.size(), fewest) << folder;
    // Depth-first: a module met again while its own includes are still being walked closes a cycle.
    std::map<std::string, int> state; // 1 being walked, 2 done
    std::vector<std::string> path;
    std::function<void(const std::string&)> walk = [&](const std::string& module) {
        state[module] = 1;
        path.push_back(module);
        for (const std::string& next : includes[module]) {
            if (state[next] == 1) {
                std::string cycle;
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it)
                    cycle += *it + " -> ";
                ADD_FAILURE() << folder << "/ include cycle: " << cycle << next;
            } else if (state[next] == 0) {
                walk(next);
            }
        }
        path.pop_back();
        state[module] = 2;
    };
    for (const auto& [module, unused] : includes)
        if (state[module] == 0)
            walk(module);
}

} // namespace

// The session above its screens, the screens above the renderer, the renderer above the state they share.
TEST(FolderDependencies, GameModulesIncludeEachOtherWithoutACycle)
{
    ExpectNoIncludeCycle("game", 10);
}

// The hero's update above what it calls (camera, lifts, score, effects), those above the hero's record.
TEST(FolderDependencies, WorldModulesIncludeEachOtherWithoutACycle)
{
    ExpectNoIncludeCycle("world", 10);
}

// The music player above its internals, which need nothing of it.
TEST(FolderDependencies, AudioModulesIncludeEachOtherWithoutACycle)
{
    ExpectNoIncludeCycle("audio", 3);
}
