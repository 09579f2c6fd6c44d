// The command-line tools facing unreadable inputs, full disks, signals and a crashing game,
// each run as a child process.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "test_support.h"

namespace fs = std::filesystem;
using testsupport::RunCommand;

namespace {

const std::string kReplayExe = std::string(FRIBB3_BINARY_DIR) + "/fribb3-replay";
const std::string kMapc = std::string(FRIBB3_BINARY_DIR) + "/tools/mapc/fribb3-mapc";
const std::string kStageScript = std::string(FRIBB3_SOURCE_DIR) + "/content/maps/fribb301-finish.replay";

// A tool that hangs on an input instead of refusing it is stopped after 20 s (longer under an emulator).
const std::string kTimeout = "timeout " + std::to_string(20 * testsupport::kTimeFactor);

std::string Replay(const std::string& args)
{
    return "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + kReplayExe + " " + args + " 2>&1";
}

TEST(ToolFailures, InputsThatAreNotPlainFilesAreRefusedAtOnce)
{
    testsupport::ScratchDir dir;
    const std::string fifo = (dir / "map.txt").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.txt");
    const std::string script = dir.Write("ok.script", "1 -\n").string();
    const struct {
        std::string args, says;
    } cases[] = {
        {dir.path().string(), "cannot read " + dir.path().string() + ": not a regular file"},
        {"--map " + fifo + " " + script, "cannot read " + fifo + ": not a regular file"},
        {"--map " + (dir / "zero.txt").string() + " " + script, "zero.txt: not a regular file"},
        {(dir / "missing").string(), "missing: No such file or directory"},
        {"- < /dev/zero", "cannot read -: larger than 64 MiB"},
    };
    for (const auto& c : cases) {
        const auto r = RunCommand(kTimeout + " env " + Replay(c.args));
        EXPECT_EQ(r.exitCode, 2) << c.args << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
    }
    const auto m = RunCommand(kTimeout + " " + kMapc + " " + fifo + " " + (dir / "out.bin").string() + " 2>&1");
    EXPECT_EQ(m.exitCode, 1);
    EXPECT_EQ(m.output, fifo + ": cannot read: not a regular file\n");
}

TEST(ToolFailures, WritesThatFailAreReported)
{
    testsupport::ScratchDir dir;
    const std::string map = std::string(FRIBB3_SOURCE_DIR) + "/tests/replays/rings.txt";
    const auto full = RunCommand(kMapc + " " + map + " /dev/full 2>&1");
    EXPECT_EQ(full.exitCode, 1) << full.output;
    EXPECT_EQ(full.output, "/dev/full: cannot write\n");

    const std::string shot = (dir / "no" / "such" / "dir.bmp").string();
    const auto r = RunCommand(Replay("--frames 3 --shot 2:" + shot + " " + kStageScript));
    EXPECT_EQ(r.exitCode, 3) << r.output;
    EXPECT_NE(r.output.find("cannot write " + shot), std::string::npos) << r.output;

    const auto rec = RunCommand(Replay("record " + (dir / "no" / "x.script").string()));
    EXPECT_EQ(rec.exitCode, 3) << rec.output;
}

// Starts a long headless run in its own temporary folder; returns the tool's pid.
pid_t StartLongRun(const fs::path& tmp, const fs::path& out)
{
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!freopen("/dev/null", "r", stdin) || !freopen(out.c_str(), "w", stdout) ||
            !freopen(out.c_str(), "a", stderr))
            _exit(97);
        // No input: the hero idles through attempt after attempt, seconds of work.
        execl(kReplayExe.c_str(), kReplayExe.c_str(), "--frames", "40000", "--attempts", "99", "-", nullptr);
        _exit(98);
    }
    return pid;
}

// The pid of the game the tool forked, once it exists (0 if it never shows up).
pid_t GameOf(pid_t tool)
{
    for (int i = 0; i < 200 * testsupport::kTimeFactor; ++i) {
        const auto r = RunCommand("pgrep -P " + std::to_string(tool));
        if (r.exitCode == 0)
            return std::stoi(r.output);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

TEST(ToolFailures, SignalsReachTheGameAndCrashesAreNamed)
{
    for (const int sig : {SIGTERM, SIGABRT}) {
        testsupport::ScratchDir dir;
        const fs::path tmp = dir / "tmp";
        fs::create_directories(tmp);
        const pid_t tool = StartLongRun(tmp, dir / "out.txt");
        const pid_t game = GameOf(tool);
        ASSERT_GT(game, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        // SIGTERM goes to the tool as a user would send it; SIGABRT stands for a crash of the game.
        kill(sig == SIGTERM ? tool : game, sig);
        int status = 0;
        ASSERT_EQ(waitpid(tool, &status, 0), tool);
        EXPECT_NE(kill(game, 0), 0) << "the game outlived the tool";
        EXPECT_TRUE(fs::is_empty(tmp)) << "working folder left behind";
        const std::vector<uint8_t> out = testsupport::ReadBytes((dir / "out.txt").string());
        const std::string text(out.begin(), out.end());
        if (sig == SIGTERM) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
        } else {
            ASSERT_TRUE(WIFEXITED(status)) << status;
            EXPECT_EQ(WEXITSTATUS(status), 128 + SIGABRT);
            EXPECT_NE(text.find("game crashed with signal 6"), std::string::npos) << text;
        }
    }
}

} // namespace
