// Parsing the fribb3-replay command line.
#include "tools/replay/replay_options.h"
#include "core/stages.h"
#include "tools/replay/replay_script.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char* const kReplayUsage =
    "usage: fribb3-replay [options] SCRIPT|-\n"
    "       fribb3-replay record OUT.script [options] [display switches]\n"
    "       fribb3-replay diff A.dump B.dump   (first frame and field where two --dump outputs differ)\n"
    "options:\n"
    "  --boot            run the program from its first line: user files of the working\n"
    "                    directory, intro scenes, hiscores, the title (shots count input polls)\n"
    "  --stage N         start at stage N of the maps archive (default 1, 0 the title)\n"
    "  --map FILE        play FILE as test mode does (FILE.txt is compiled first)\n"
    "  --frames N        stop after N frames\n"
    "  --attempts K      stop after K attempts have ended (default 1; none with --boot)\n"
    "  --trace           print one line per frame\n"
    "  --dump            print every field of the state after every frame\n"
    "  --check           stop with exit code 4 when a rule of the world breaks after a\n"
    "                    frame or the heap keeps growing from attempt to attempt\n"
    "  --shot F:PATH     write a BMP screenshot of frame F (repeatable)\n"
    "  --data DIR        archives directory (default: data next to the program)\n"
    "  --workdir DIR     run in DIR and keep it (default: a fresh temp dir, removed)\n"
    "  --pad N           give the game a simulated joystick with N buttons (1..32)\n"
    "  --overview PATH   draw the whole stage into the BMP PATH (no script needed)\n";

namespace {

// Reads a whole decimal number in [lo, hi].
bool ParseNumber(const char* text, long lo, long hi, long& value)
{
    if (!text || !*text)
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi)
        return false;
    value = v;
    return true;
}

// Upper bound for counts on the command line; a run never gets near it.
constexpr long kMaxCount = kMaxReplayCount;

bool ParseShot(const char* text, ReplayShot& shot)
{
    const char* colon = std::strchr(text, ':');
    if (!colon || colon[1] == '\0')
        return false;
    const std::string number(text, colon);
    long frame = 0;
    if (!ParseNumber(number.c_str(), 1, kMaxCount, frame))
        return false;
    shot.frame = frame;
    shot.path = colon + 1;
    return true;
}

} // namespace

bool IsTextMapPath(const std::string& path)
{
    constexpr const char* kText = ".txt";
    const size_t n = std::strlen(kText);
    return path.size() > n && path.compare(path.size() - n, n, kText) == 0;
}

bool ParseReplayArgs(int argc, const char* const* argv, ReplayOptions& options, std::string& error)
{
    options = ReplayOptions{};
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "diff") == 0) {
        if (argc != 4 || !argv[2][0] || !argv[3][0]) {
            error = "diff needs two dump files";
            return false;
        }
        options.diff = true;
        options.diffA = argv[2];
        options.diffB = argv[3];
        return true;
    }
    if (i < argc && std::strcmp(argv[i], "record") == 0) {
        options.record = true;
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            error = "record needs the script file to write";
            return false;
        }
        options.recordOut = argv[i + 1];
        i += 2;
    }
    bool haveScript = false;
    bool stageOrMapGiven = false;
    bool attemptsGiven = false;
    for (; i < argc; ++i) {
        const char* a = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long n = 0;
        auto needValue = [&](const char* what) {
            error = std::string(a) + " needs " + what;
            return false;
        };
        if (std::strcmp(a, "--stage") == 0) {
            if (!ParseNumber(next, 0, kLastStage, n))
                return needValue("a stage number 0..10");
            options.stage = static_cast<int>(n);
            stageOrMapGiven = true;
            ++i;
        } else if (std::strcmp(a, "--map") == 0) {
            if (!next || !*next)
                return needValue("a map file");
            options.mapFile = next;
            stageOrMapGiven = true;
            ++i;
        } else if (std::strcmp(a, "--frames") == 0) {
            if (!ParseNumber(next, 1, kMaxCount, n))
                return needValue("a frame count above 0");
            options.maxFrames = n;
            ++i;
        } else if (std::strcmp(a, "--attempts") == 0) {
            if (!ParseNumber(next, 1, kMaxCount, n))
                return needValue("an attempt count above 0");
            options.attempts = static_cast<int>(n);
            attemptsGiven = true;
            ++i;
        } else if (std::strcmp(a, "--boot") == 0) {
            options.boot = true;
        } else if (std::strcmp(a, "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(a, "--dump") == 0) {
            options.dump = true;
        } else if (std::strcmp(a, "--check") == 0) {
            options.check = true;
        } else if (std::strcmp(a, "--shot") == 0) {
            ReplayShot shot;
            if (!next || !ParseShot(next, shot))
                return needValue("FRAME:PATH with a frame above 0");
            options.shots.push_back(shot);
            ++i;
        } else if (std::strcmp(a, "--data") == 0) {
            if (!next || !*next)
                return needValue("a directory");
            options.dataDir = next;
            ++i;
        } else if (std::strcmp(a, "--overview") == 0) {
            if (!next || !*next)
                return needValue("a picture file");
            options.overviewPath = next;
            ++i;
        } else if (std::strcmp(a, "--workdir") == 0) {
            if (!next || !*next)
                return needValue("a directory");
            options.workDir = next;
            ++i;
        } else if (std::strcmp(a, "--pad") == 0) {
            if (!ParseNumber(next, 1, kScriptPadButtons, n))
                return needValue("a button count 1..32");
            options.padButtons = static_cast<int>(n);
            ++i;
        } else if (options.record && a[0] == '-' && a[1] != '-' && a[1] != '\0') {
            options.displaySwitches.push_back(a); // the game's own switches, e.g. -x2
        } else if (a[0] == '-' && a[1] != '\0') {
            error = std::string("unknown option ") + a;
            return false;
        } else if (!options.record && !haveScript) {
            options.scriptPath = a;
            haveScript = true;
        } else {
            error = std::string("unexpected argument ") + a;
            return false;
        }
    }
    if (!options.record && !haveScript && options.overviewPath.empty()) {
        error = "no script given (use - for standard input)";
        return false;
    }
    if (options.boot && stageOrMapGiven) {
        error = "--boot starts at the intro; --stage and --map do not go with it";
        return false;
    }
    if (options.boot && !attemptsGiven)
        options.attempts = static_cast<int>(kMaxCount);
    return true;
}
