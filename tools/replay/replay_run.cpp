// fribb3-replay's runs: platform start-up, the observed session, the child process and its directory.
#include "tools/replay/replay_run.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/command_line.h"
#include "app/startup.h"
#include "assets/archive.h"
#include "assets/front_end_images.h"
#include "assets/tile_images.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "core/settings.h"
#include "game/session.h"
#include "platform/draw_listener.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/screenshot.h"
#include "platform/tick_source.h"
#include "tools/replay/replay_input.h"
#include "tools/replay/replay_report.h"
#include "tools/replay/stage_overview.h"
#include "tools/replay/state_dump.h"
#include "tools/replay/state_invariants.h"
#include "world/play_state.h"
#include "world/player.h"

namespace fs = std::filesystem;

namespace {

// Polls a screen may spend waiting between two stage frames (screens poll every
// 100 ms, so an hour of waiting) before the run is stopped.
constexpr long kScreenPollAllowance = 36000;
// Exit code of a run whose shots or recording could not be written.
constexpr int kOutputFailedExit = 3;
// Exit code of a --check run in which a rule of the world broke or memory grew.
constexpr int kCheckFailedExit = 4;
// --check: the heap may not grow by more than this between the third attempt's
// end and the last one's; the first attempts load what stays for the session.
constexpr long kHeapGrowthAllowed = 1L << 20;
constexpr int kHeapSettledAttempt = 3;
// Exit codes above this report the signal that ended the game.
constexpr int kSignalExitBase = 128;

// Archive files in their ArchiveId order.
constexpr const char* kArchiveFiles[ArchiveCount] = {"gfx.zda", "music.zda", "maps.zda", "sound.zda"};

// Name of a compiled text map inside the working directory.
constexpr const char* kCompiledMapName = "replay-map.bin";

// What the session observer needs while a run goes on.
struct RunWatch {
    const ReplayOptions* options = nullptr;
    std::FILE* out = nullptr;
    long frames = 0;
    long frameLimit = 0;
    int attempts = 0;
    ReplaySnapshot last;
    std::string ended;
    std::string stopReason;         // set when the run itself asked the session to stop
    bool outputFailed = false;      // a shot could not be written
    std::string broken;             // --check: the first rule broken, with its frame
    long settledHeap = -1;          // --check: heap in use when the third attempt ended
    uint64_t digest = kDigestStart; // of every frame's state dump
    std::vector<int> sounds;        // asked for since the last frame
    PictureLog picture;             // drawn since the last frame
};

RunWatch watch;

void StopRun(const char* reason)
{
    if (watch.stopReason.empty())
        watch.stopReason = reason;
    RequestSessionStop();
}

// Writes the shots asked for at this frame (or input poll, with --boot).
void TakeShotsAt(long when)
{
    for (const ReplayShot& shot : watch.options->shots) {
        if (shot.frame == when && !SaveScreenshot(shot.path.c_str())) {
            std::fprintf(stderr, "fribb3-replay: cannot write %s\n", shot.path.c_str());
            watch.outputFailed = true;
        }
    }
}

// Runs from program start count shots in input polls: the screens between
// stages wait on polls, not on stage frames.
void BeforePoll(long poll)
{
    TakeShotsAt(poll);
}

void AfterFrame(const Player& hero)
{
    NoteStageFrame();
    ++watch.frames;
    watch.last = TakeReplaySnapshot(hero, watch.frames);
    if (watch.options->trace) {
        const std::string line = FormatTraceLine(watch.last);
        std::fprintf(watch.out, "%s\n", line.c_str());
    }
    const std::string dump = FormatStateDump(watch.frames, play, watch.sounds, watch.picture);
    watch.sounds.clear();
    watch.picture = PictureLog{};
    watch.digest = AddToDigest(watch.digest, dump.data(), dump.size());
    if (watch.options->dump)
        std::fputs(dump.c_str(), watch.out);
    if (watch.options->check && watch.broken.empty()) {
        const std::string broken = BrokenInvariant(play);
        if (!broken.empty()) {
            watch.broken = "frame " + std::to_string(watch.frames) + ": " + broken;
            StopRun("broken");
        }
    }
    if (!watch.options->boot)
        TakeShotsAt(watch.frames);
    if (watch.frames >= watch.frameLimit)
        StopRun(watch.options->maxFrames > 0 ? "frames" : "limit");
}

// The run's sound player: notes the sound for the dump, then plays it.
void RecordSound(int id)
{
    watch.sounds.push_back(id);
    PlayEffect(id);
}

// The run's draw listener: every drawing into the screen goes into the picture's digest.
void RecordDraw(const DrawCall& call)
{
    watch.picture.Add(call);
}

void AttemptEnded(const Player& hero, const char* how)
{
    watch.last = TakeReplaySnapshot(hero, watch.frames);
    const std::string reason = how ? how : "";
    if (reason == "stopped") {
        watch.ended = watch.stopReason.empty() ? reason : watch.stopReason;
        return;
    }
    watch.ended = reason;
    ++watch.attempts;
    if (watch.options->check) {
        const long heap = HeapInUse();
        if (watch.attempts == kHeapSettledAttempt)
            watch.settledHeap = heap;
        else if (watch.settledHeap >= 0 && heap - watch.settledHeap > kHeapGrowthAllowed && watch.broken.empty())
            watch.broken = "attempt " + std::to_string(watch.attempts) + ": heap grew by " +
                           std::to_string(heap - watch.settledHeap) + " bytes";
    }
    if (watch.attempts >= watch.options->attempts)
        StopRun(reason.c_str());
}

void PollLimitReached()
{
    StopRun("limit");
}

bool HasArchiveEntry(ArchiveId id, const char* name, const char* extension)
{
    uint8_t* data = ReadArchiveEntry(id, name, extension);
    std::free(data);
    return data != nullptr;
}

DisplayConfig HeadlessDisplay()
{
    DisplayConfig d;
    d.fullscreen = 0;
    d.zoom = 0;
    d.depth = 16;
    return d;
}

// Everything after the video mode that the replay and the recording share.
// A run from program start (boot) reads the user's configuration as the game
// does; the others play with built-in settings and leave the background and
// the hiscores to the session's needs.
void StartCommon(const std::string& dataDir, const DisplayConfig& display, bool boot)
{
    std::srand(kReplaySeed);
    settings = Settings{};
    if (boot) {
        // The game without arguments: the display choice reads the configuration,
        // though the run keeps the display it was given.
        const char* const argv[] = {"fribb3"};
        (void)ChooseDisplay(ParseCommandLine(1, argv));
    }
    StartPlatform(display);
    SetSoundPlayer(RecordSound);
    SetDrawListener(RecordDraw);
    // StartPlatform looked in ./data of the working directory; the run's
    // archives come from dataDir instead.
    for (int id = 0; id < ArchiveCount; ++id) {
        const std::string path = (fs::path(dataDir) / kArchiveFiles[id]).string();
        OpenArchiveFile(static_cast<ArchiveId>(id), path.c_str());
    }
    LoadFrontEnd();
    input = InputState{};
    if (boot)
        return;
    if (!BackImage && HasArchiveEntry(ArchiveGfx, "back", "bmp"))
        LoadBack(); // the playfield is drawn on black without it

    // The working directory holds no configuration, but the bindings the
    // script's buttons become are the built-in ones in any case.
    ResetBindings();
}

// Writes a whole file; false unless every byte reached it (a full disk shows only when the file is closed).
bool WriteFile(const fs::path& path, const void* data, size_t size)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    f.close();
    return !f.fail();
}

// The child of the running replay, for the signal handler.
volatile pid_t runningChild = 0;
volatile sig_atomic_t forwardedSignal = 0;

// Passes an interrupt on to the game; the parent cleans up once the child is gone.
void ForwardSignal(int sig)
{
    forwardedSignal = sig;
    if (runningChild > 0)
        kill(runningChild, sig);
}

constexpr int kForwardedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The overview picture of the stage the options name; 0 when it was written.
int WriteOverview(const ReplayOptions& options, const std::string& mapPath)
{
    LoadTileImages();
    size_t size = 0;
    char name[16];
    std::snprintf(name, sizeof name, "fribb3%02d", options.stage);
    uint8_t* map =
        mapPath.empty() ? ReadArchiveEntry(ArchiveMaps, name, "bin", &size) : ReadWholeFile(mapPath.c_str(), &size);
    const bool saved = map && SaveStageOverview(map, size, options.overviewPath.c_str());
    std::free(map);
    if (!saved)
        std::fprintf(stderr, "fribb3-replay: cannot draw the overview %s\n", options.overviewPath.c_str());
    return saved ? 0 : kOutputFailedExit;
}

// The child's part of RunReplayProcess; runs in the working directory.
int RunChild(const ReplayOptions& options, const ReplayScript* script, const std::string& mapPath)
{
    const std::string dataDir = options.dataDir.empty() ? DefaultReplayDataDir() : options.dataDir;
    if (options.record)
        StartRecordPlatform(dataDir, options.displaySwitches, options.boot);
    else
        StartReplayPlatform(dataDir, options.boot);
    if (!options.overviewPath.empty()) {
        const int code = WriteOverview(options, mapPath);
        ShutDown();
        return code;
    }
    const ReplayResult result = PlayReplay(options, options.record ? nullptr : script, mapPath, stdout);
    int code = result.outputFailed ? kOutputFailedExit : 0;
    if (!result.broken.empty()) {
        std::fprintf(stderr, "fribb3-replay: broken at %s\n", result.broken.c_str());
        code = kCheckFailedExit;
    }
    if (options.record) {
        const std::string text = "# recorded by fribb3-replay record\n" + RecordedScript();
        if (!WriteFile(options.recordOut, text.data(), text.size())) {
            std::fprintf(stderr, "fribb3-replay: cannot write %s\n", options.recordOut.c_str());
            code = kOutputFailedExit;
        }
    }
    ShutDown();
    return code;
}

} // namespace

std::string DefaultReplayDataDir()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "data";
    return (exe.parent_path() / "data").string();
}

void StartReplayPlatform(const std::string& dataDir, bool boot)
{
    // Headless unless the caller chose drivers; 0 keeps an existing value.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    UseVirtualClock(0);
    // Tunes advance with the virtual time, so one ends on the same frame in every run.
    PaceMusicByCaller(true);
    SetVirtualTimeListener(AdvanceMusic);
    StartCommon(dataDir, HeadlessDisplay(), boot);
}

void StartRecordPlatform(const std::string& dataDir, const std::vector<std::string>& displaySwitches, bool boot)
{
    // The game's own switch parser, over a windowed, doubled default.
    std::vector<const char*> argv = {"fribb3-replay", "-w", "-x2"};
    for (const std::string& s : displaySwitches)
        argv.push_back(s.c_str());
    const CommandLine cl = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    UseRealClock();
    StartCommon(dataDir, cl.display, boot);
}

ReplayResult PlayReplay(const ReplayOptions& options, const ReplayScript* script, const std::string& mapPath,
                        std::FILE* out)
{
    watch = RunWatch{};
    watch.options = &options;
    watch.out = out;
    watch.frameLimit = options.maxFrames > 0 ? options.maxFrames : kDefaultFrameLimit;

    SessionObserver observer;
    observer.afterFrame = AfterFrame;
    observer.attemptEnded = AttemptEnded;
    SetSessionObserver(&observer);
    if (script) {
        SimulateJoystick(options.padButtons);
        StartScriptedInput(script);
    } else {
        StartInputRecording();
    }
    SetReplayPollLimit(kScreenPollAllowance, PollLimitReached);

    if (options.boot) {
        SetPollWatcher(BeforePoll);
        PlayFromIntro(false);
        SetPollWatcher(nullptr);
        if (watch.ended.empty() && input.quitRequest)
            watch.ended = "quit"; // asked for during the intro: the session never started
    } else {
        SessionStart start;
        start.stage = options.stage;
        if (!mapPath.empty())
            start.mapFile = mapPath.c_str();
        RunSessionFrom(start);
    }

    SetReplayPollLimit(0, nullptr);
    if (script) {
        StopReplayInput();
        SimulateJoystick(0);
    }
    SetSessionObserver(nullptr);

    ReplayResult result;
    result.frames = watch.frames;
    result.attempts = watch.attempts;
    result.outputFailed = watch.outputFailed;
    result.broken = watch.broken;
    result.ended = watch.stopReason == "limit" ? "limit" : watch.ended.empty() ? "stopped" : watch.ended;
    std::string line = FormatFinalLine(watch.last, result.attempts, result.ended, watch.digest);
    if (options.boot)
        line += FormatBootFields(watch.last);
    std::fprintf(out, "%s\n", line.c_str());
    std::fflush(out);
    return result;
}

int RunReplayProcess(const ReplayOptions& given, const ReplayScript* script, const std::vector<uint8_t>* compiledMap)
{
    // Paths of the command line are meant from where the program was started.
    ReplayOptions options = given;
    for (ReplayShot& shot : options.shots)
        shot.path = fs::absolute(shot.path).string();
    if (!options.overviewPath.empty())
        options.overviewPath = fs::absolute(options.overviewPath).string();
    if (!options.dataDir.empty())
        options.dataDir = fs::absolute(options.dataDir).string();
    if (!options.recordOut.empty()) {
        options.recordOut = fs::absolute(options.recordOut).string();
        // Found out now rather than after a whole session has been played.
        std::FILE* out = std::fopen(options.recordOut.c_str(), "ab");
        if (!out || std::fclose(out) != 0) {
            std::fprintf(stderr, "fribb3-replay: cannot write %s\n", options.recordOut.c_str());
            return kOutputFailedExit;
        }
    }
    std::string mapPath = options.mapFile.empty() ? "" : fs::absolute(options.mapFile).string();

    fs::path dir;
    const bool keepDir = !options.workDir.empty();
    std::error_code ec;
    if (keepDir) {
        dir = fs::absolute(options.workDir);
        fs::create_directories(dir, ec);
    } else {
        std::string pattern = (fs::temp_directory_path(ec) / "fribb3-replay-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::fprintf(stderr, "fribb3-replay: cannot make a working directory\n");
            return 1;
        }
        dir = pattern;
    }
    if (compiledMap) {
        mapPath = (dir / kCompiledMapName).string();
        if (!WriteFile(mapPath, compiledMap->data(), compiledMap->size())) {
            std::fprintf(stderr, "fribb3-replay: cannot write %s\n", mapPath.c_str());
            if (!keepDir)
                fs::remove_all(dir, ec);
            return 1;
        }
    }

    // The game may end the process at any point (a fatal error); a child
    // process lets the working directory be removed whatever happens.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        // The game must not outlive the tool, even when the tool is killed outright.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            std::_Exit(1);
        int code = 1;
        if (chdir(dir.c_str()) == 0)
            code = RunChild(options, script, mapPath);
        else
            std::fprintf(stderr, "fribb3-replay: cannot enter %s\n", dir.c_str());
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    int code = 1;
    int status = 0;
    bool waited = false;
    if (child < 0) {
        std::fprintf(stderr, "fribb3-replay: cannot start the run\n");
    } else {
        runningChild = child;
        for (int sig : kForwardedSignals)
            std::signal(sig, ForwardSignal);
        pid_t done = -1;
        do {
            done = waitpid(child, &status, 0);
        } while (done < 0 && errno == EINTR);
        waited = done == child;
        for (int sig : kForwardedSignals)
            std::signal(sig, SIG_DFL);
        runningChild = 0;
    }
    if (!keepDir)
        fs::remove_all(dir, ec);
    if (forwardedSignal) {
        // Interrupted: end the way an interrupted program does, after cleaning up.
        std::fflush(stdout);
        std::raise(forwardedSignal);
    }
    if (waited && WIFEXITED(status)) {
        code = WEXITSTATUS(status);
    } else if (waited && WIFSIGNALED(status)) {
        std::fflush(stdout);
        std::fprintf(stderr, "fribb3-replay: game crashed with signal %d\n", WTERMSIG(status));
        code = kSignalExitBase + WTERMSIG(status);
    }
    return code;
}
