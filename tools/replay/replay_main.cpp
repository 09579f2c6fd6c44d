// fribb3-replay: replays an input script through the real session headless, or records one in a window.
#include <cstdio>
#include <string>
#include <vector>

#include "file_io.h"
#include "map_text.h"
#include "tools/replay/dump_diff.h"
#include "tools/replay/replay_options.h"
#include "tools/replay/replay_run.h"
#include "tools/replay/replay_script.h"

namespace {

// Exit code for a bad command line, script or map source.
constexpr int kUsageExit = 2;
// Exit code of diff when the dumps differ.
constexpr int kDumpsDiffer = 1;

} // namespace

int main(int argc, char** argv)
{
    ReplayOptions options;
    std::string error;
    if (!ParseReplayArgs(argc, argv, options, error)) {
        std::fprintf(stderr, "fribb3-replay: %s\n%s", error.c_str(), kReplayUsage);
        return kUsageExit;
    }

    if (options.diff) {
        std::string dumps[2];
        const std::string* paths[2] = {&options.diffA, &options.diffB};
        for (int i = 0; i < 2; ++i) {
            if (!ReadToolInput(*paths[i], dumps[i], error)) {
                std::fprintf(stderr, "fribb3-replay: cannot read %s: %s\n", paths[i]->c_str(), error.c_str());
                return kUsageExit;
            }
        }
        const std::string& a = dumps[0];
        const std::string& b = dumps[1];
        const DumpDifference d = FirstDumpDifference(a, b);
        std::printf("%s\n", DescribeDumpDifference(d).c_str());
        return d.differs ? kDumpsDiffer : 0;
    }

    ReplayScript script;
    if (!options.record && options.overviewPath.empty()) {
        std::string text;
        if (!ReadToolInput(options.scriptPath, text, error)) {
            std::fprintf(stderr, "fribb3-replay: cannot read %s: %s\n", options.scriptPath.c_str(), error.c_str());
            return kUsageExit;
        }
        if (!ParseReplayScript(text, script, error)) {
            std::fprintf(stderr, "fribb3-replay: %s: %s\n", options.scriptPath.c_str(), error.c_str());
            return kUsageExit;
        }
        const int highest = HighestPadButton(script);
        if (highest >= options.padButtons) {
            std::fprintf(stderr, "fribb3-replay: %s presses pad button %d, which needs --pad %d or more\n",
                         options.scriptPath.c_str(), highest, highest + 1);
            return kUsageExit;
        }
    }

    // A text map is compiled here; a binary one is handed to the game as it is,
    // so a missing or empty one fails the way test mode does.
    std::vector<uint8_t> compiled;
    const bool textMap = !options.mapFile.empty() && IsTextMapPath(options.mapFile);
    if (textMap) {
        const MapLoad load = LoadTextMap(options.mapFile, compiled, error);
        if (load == MapLoad::Unreadable) {
            std::fprintf(stderr, "fribb3-replay: cannot read %s: %s\n", options.mapFile.c_str(), error.c_str());
            return kUsageExit;
        }
        if (load == MapLoad::Invalid) {
            std::fprintf(stderr, "fribb3-replay: %s: %s\n", options.mapFile.c_str(), error.c_str());
            return kUsageExit;
        }
    }
    return RunReplayProcess(options, &script, textMap ? &compiled : nullptr);
}
