// The fatal paths of picture loading, each run in a forked child with its own working directory.
#include <SDL.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "assets/bitmap.h"
#include "assets/fonts.h"
#include "assets/tile_images.h"
#include "test_screen.h"
#include "test_support.h"

using namespace testscreen;

namespace {

struct ChildResult {
    int exitCode = -1;
    std::string output;
};

// A small, valid picture whose header then claims 60000 x 60000 pixels.
std::vector<uint8_t> HugeHeader()
{
    std::vector<uint8_t> bmp = BmpBytes(MakePicture(2, 2, [](int, int) { return Rgb{}; }));
    WriteLe32(&bmp[18], 60000);
    WriteLe32(&bmp[22], 60000);
    return bmp;
}

const std::vector<uint8_t> kGarbage = {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p', 0, 1, 2, 0xff};

class BitmapFatalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenScreen(16);
        dir = ScratchPath("fatal");
        std::filesystem::create_directories(dir);
        const std::string archive = dir + "/gfx.zda";
        WriteArchive(archive, {
                                  {"corrupt.bmp", kGarbage},
                                  {"tiny.bmp", BmpBytes(MakePicture(7, 30,
                                                                    [](int, int) {
                                                                        return Rgb{1, 1, 1};
                                                                    }))},
                                  {"blocks.bmp", BmpBytes(MakePicture(320, 176, [](int, int) { return Rgb{}; }))},
                                  {"huge.bmp", HugeHeader()},
                              });
        OpenArchiveFile(ArchiveGfx, archive.c_str());
    }
    void TearDown() override
    {
        CloseArchives();
        std::filesystem::remove_all(dir);
        CloseScreen();
    }
    // Runs body in a child whose working directory is dir and whose standard output goes to a file.
    ChildResult RunChild(const std::function<void()>& body)
    {
        const std::string out = dir + "/stdout.txt";
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0 || !std::freopen(out.c_str(), "w", stdout))
                _exit(98);
            body();
            std::fflush(stdout);
            _exit(99); // the body was expected to end the process
        }
        int status = 0;
        waitpid(pid, &status, 0);
        ChildResult r;
        r.exitCode = testsupport::ExitCodeOf(status);
        const std::vector<uint8_t> bytes = ReadBytes(out);
        r.output.assign(bytes.begin(), bytes.end());
        return r;
    }
    std::string dir;
};

TEST_F(BitmapFatalTest, PicturesThatCannotBeUsedEndTheGameNamingThem)
{
    const struct {
        std::function<void()> load;
        std::string says;            // the start of the message
        std::string detail;          // found in it
        std::vector<uint8_t> dumped; // written to fuu.xxx, empty for nothing
    } cases[] = {
        {[] { LoadBitmap("nothere", false); }, "Error loading gfx file: nothere\n", "", {}},
        {[] { LoadBitmap("corrupt", true); }, "Unable to load bitmap: ", "", kGarbage},
        {[] { LoadBitmap("huge", false); }, "Unable to load bitmap: huge",
         "(60000x60000 pixels at 24 bits, at most 4096x4096)", HugeHeader()},
        {[] { LoadFont("tiny", 8, 8); }, "Error loading gfx file: tiny", "7x30", {}},
        {[] { LoadTileImages(); }, "Error loading gfx file: blocks", "320x176", {}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir + "/fuu.xxx");
        const ChildResult r = RunChild(c.load);
        EXPECT_EQ(r.exitCode, 1) << c.says;
        EXPECT_EQ(r.output.rfind(c.says, 0), 0u) << r.output;
        EXPECT_NE(r.output.find(c.detail), std::string::npos) << r.output;
        EXPECT_EQ(ReadBytes(dir + "/fuu.xxx"), c.dumped) << c.says;
    }
}

} // namespace
