// Keeps SDL, SDL_mixer and libmodplug out of world/ and game/: they reach them only through our interfaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Line numbers (1-based) of the lines of text that include an SDL, SDL_mixer
// or libmodplug header, in either include form.
std::vector<int> ForbiddenIncludeLines(const std::string& text)
{
    // SDL headers are "SDL.h", "SDL_mixer.h" or "SDL/...", always in capitals.
    static const std::regex forbidden(R"(^\s*#\s*include\s*[<"]\s*([^>"]*/)?(SDL|[^>"]*modplug))");
    std::vector<int> lines;
    size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (std::regex_search(text.substr(start, end - start), forbidden))
            lines.push_back(number);
        start = end + 1;
        ++number;
    }
    return lines;
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(SdlBoundary, DetectorFindsEveryFormOfTheForbiddenIncludes)
{
    EXPECT_EQ(ForbiddenIncludeLines("#include <SDL.h>\n"), std::vector<int>{1});
    EXPECT_EQ(ForbiddenIncludeLines("// x\n#include \"SDL_mixer.h\"\n"), std::vector<int>{2});
    EXPECT_EQ(ForbiddenIncludeLines("  #  include <SDL/SDL_video.h>\n"), std::vector<int>{1});
    EXPECT_EQ(ForbiddenIncludeLines("#include <libmodplug/modplug.h>\n"), std::vector<int>{1});
    EXPECT_EQ(ForbiddenIncludeLines("#include \"modplug.h\"\n#include <SDL_keysym.h>"), (std::vector<int>{1, 2}));
    // Our own headers and mentions in comments or code are fine.
    EXPECT_TRUE(ForbiddenIncludeLines("#include \"platform/input.h\"\n").empty());
    EXPECT_TRUE(ForbiddenIncludeLines("// SDL is reached through platform/\n").empty());
    EXPECT_TRUE(ForbiddenIncludeLines("const char* k = \"#include <SDL.h>\";\n").empty());
    EXPECT_TRUE(ForbiddenIncludeLines("#include \"world/sdl_free_helpers.h\"\n").empty());
}

TEST(SdlBoundary, WorldAndGameIncludeNoSdlOrModplugHeader)
{
    int scanned = 0;
    for (const char* dir : {"world", "game"}) {
        const fs::path root = fs::path(FRIBB3_SOURCE_DIR) / dir;
        ASSERT_TRUE(fs::is_directory(root)) << root;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
            if (!e.is_regular_file())
                continue;
            ++scanned;
            for (int line : ForbiddenIncludeLines(ReadText(e.path())))
                ADD_FAILURE() << fs::relative(e.path(), FRIBB3_SOURCE_DIR).string() << ":" << line
                              << " includes an SDL, SDL_mixer or libmodplug header; go through platform/, "
                                 "assets/ or audio/ instead";
        }
    }
    EXPECT_GT(scanned, 0) << "no source files found under world/ and game/";
}
