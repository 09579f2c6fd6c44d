// fribb3-soak: random play with pause and quit requests over every stage of the archives and over
// hostile maps, each run by fribb3-replay --check, which stops at the first broken rule of the world.
//   fribb3-soak [--frames N] [--seed S] [--maps M] [--keep DIR]
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "file_io.h"
#include "soak_input.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStages = 11; // the title and the ten stages
constexpr long kDefaultFrames = 110000;
constexpr int kDefaultMaps = 20;

struct Options {
    long frames = kDefaultFrames;
    unsigned seed = 1;
    int maps = kDefaultMaps;
    std::string keep; // folder for the scripts and maps; a temporary one when empty
};

bool ParseArgs(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        char* end = nullptr;
        if (!next)
            return false;
        errno = 0;
        const long v = std::strtol(next, &end, 10);
        const bool number = errno == 0 && *end == '\0' && v >= 0;
        if (a == "--frames" && number && v > 0)
            o.frames = v;
        else if (a == "--seed" && number)
            o.seed = static_cast<unsigned>(v);
        else if (a == "--maps" && number)
            o.maps = static_cast<int>(v);
        else if (a == "--keep")
            o.keep = next;
        else
            return false;
        ++i;
    }
    return true;
}

// Runs one replay; returns its exit code and puts its output into out.
int Run(const std::string& command, std::string& out)
{
    out.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long FramesOf(const std::string& out)
{
    const size_t at = out.rfind("final frame=");
    return at == std::string::npos ? 0 : std::atol(out.c_str() + at + std::strlen("final frame="));
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::fprintf(stderr, "usage: fribb3-soak [--frames N] [--seed S] [--maps M] [--keep DIR]\n");
        return 2;
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string replay = (self.parent_path() / "fribb3-replay").string();
    fs::path dir = o.keep;
    if (dir.empty()) {
        std::string pattern = (fs::temp_directory_path() / "fribb3-soak-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::fprintf(stderr, "fribb3-soak: cannot make a folder\n");
            return 1;
        }
        dir = pattern;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        std::fprintf(stderr, "fribb3-soak: cannot make the folder %s\n", dir.c_str());
        return 1;
    }

    std::mt19937 rng(o.seed);
    const int targets = kStages + o.maps;
    const long framesPerTarget = o.frames / targets + 1;
    long played = 0;
    int failed = 0;
    // A run ends early when the random player quits or leaves by the menu; the
    // target is then played again with a fresh script until its share is used.
    constexpr int kRestartsPerTarget = 40;
    int started = 0;
    for (int target = 0; target < targets; ++target) {
        const std::string name =
            target < kStages ? "stage" + std::to_string(target) : "map" + std::to_string(target - kStages);
        std::string where = "--stage " + std::to_string(target);
        if (target >= kStages) {
            const std::string map = (dir / (name + ".bin")).string();
            if (!WriteToolOutput(map, HostileMap(rng))) {
                std::fprintf(stderr, "fribb3-soak: cannot write %s\n", map.c_str());
                return 1;
            }
            where = "--map " + map;
        }
        long targetFrames = 0;
        for (int run = 0; run < kRestartsPerTarget && targetFrames < framesPerTarget; ++run, ++started) {
            const long budget = framesPerTarget - targetFrames;
            const std::string script = (dir / (name + "-" + std::to_string(run) + ".script")).string();
            // More polls than frames: screens between attempts poll too.
            const std::string text = RandomScript(rng, budget * 2);
            if (!WriteToolOutput(script, text.data(), text.size())) {
                std::fprintf(stderr, "fribb3-soak: cannot write %s\n", script.c_str());
                return 1;
            }
            const std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + replay + " --check --frames " +
                                        std::to_string(budget) + " --attempts 1000000000 " + where + " " + script;
            std::string out;
            const int code = Run(command, out);
            targetFrames += FramesOf(out) + 1; // a run of no frames still counts, so the loop ends
            if (code != 0) {
                ++failed;
                std::printf("%s: exit %d\n  %s\n  %s", name.c_str(), code, command.c_str(), out.c_str());
            } else {
                fs::remove(script);
            }
        }
        played += targetFrames;
        std::printf("%-8s %8ld frames\n", name.c_str(), targetFrames);
    }
    std::printf("soak: %d stages and maps, %d runs, %ld frames, %d failed (seed %u)\n", targets, started, played,
                failed, o.seed);
    if (o.keep.empty() && failed == 0)
        fs::remove_all(dir);
    else
        std::printf("scripts and maps kept in %s\n", dir.c_str());
    return failed == 0 ? 0 : 1;
}
