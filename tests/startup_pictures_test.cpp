// The game's start-up with missing, damaged and too small pictures, run as a child process.
#include <SDL.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "test_screen.h"

using namespace testscreen;

namespace {

namespace fs = std::filesystem;

struct GameRun {
    bool stillRunning = false; // killed after the grace time
    int exitCode = -1;
    std::string output;
};

const std::vector<uint8_t> kGarbage = {'B', 'M', 0x10, 0, 0, 0, 0xde, 0xad, 0xbe, 0xef, 7, 7, 7};

// Pictures that pass start-up: a font of 64 glyphs, a big font, a logo and a background.
std::vector<uint8_t> Flat(int w, int h)
{
    return BmpBytes(MakePicture(w, h, [](int x, int y) { return Rgb{x & 0xff, y & 0xff, 40}; }));
}

class StartupPicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The pictures are made with SDL surfaces; no window is needed for that.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_GE(SDL_Init(0), 0);
        dir = ScratchPath(std::string("game-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir + "/data");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        SDL_Quit();
    }
    void WriteGfx(const std::vector<ArchiveInput>& entries)
    {
        WriteArchive(dir + "/data/gfx.zda", entries);
    }
    // Starts the game in a 320x240 window with headless drivers in dir; a game
    // still running after graceSeconds is killed.
    GameRun RunGame(double graceSeconds)
    {
        const std::string out = dir + "/stdout.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0 || !std::freopen(out.c_str(), "w", stdout))
                _exit(98);
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            execl(FRIBB3_GAME_EXE, FRIBB3_GAME_EXE, "-w", static_cast<char*>(nullptr));
            _exit(97);
        }
        GameRun run;
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(graceSeconds);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                run.stillRunning = true;
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!run.stillRunning && WIFEXITED(status))
            run.exitCode = WEXITSTATUS(status);
        const std::vector<uint8_t> bytes = ReadBytes(out);
        run.output.assign(bytes.begin(), bytes.end());
        return run;
    }
    std::string dir;
};

// Generous: a fatal start ends within a fraction of a second even on a busy machine.
constexpr double kFatalGrace = 20.0;

TEST_F(StartupPicturesTest, FontsAreLoadedBeforeTheLogo)
{
    WriteGfx({{"font.bmp", Flat(512, 8)}, {"fontbig.bmp", Flat(1024, 16)}});
    GameRun run = RunGame(kFatalGrace);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Error loading gfx file: logo\n");
}

TEST_F(StartupPicturesTest, TheBuiltPicturesStartTheGame)
{
    fs::copy(fs::path(FRIBB3_BINARY_DIR) / "data", dir + "/data", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    GameRun run = RunGame(2.0);
    EXPECT_TRUE(run.stillRunning) << "exit " << run.exitCode << ": " << run.output;
    EXPECT_EQ(run.output, "");
}

} // namespace
