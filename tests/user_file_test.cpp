// Replacing a user file: the old file survives every failure byte for byte, and no temporary file is left.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "assets/archive.h"
#include "assets/user_file.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kOld = "old contents\n";
const std::string kNew = "the new contents, longer than the old\n";

bool Replace(const fs::path& path, const std::string& text)
{
    return ReplaceUserFile(path.c_str(), text.data(), text.size());
}

std::string Read(const fs::path& path)
{
    const std::vector<uint8_t> b = testsupport::ReadBytes(path.string());
    return {b.begin(), b.end()};
}

TEST(UserFile, ReplacesWholeOrLeavesTheOldFile)
{
    testsupport::ScratchDir dir;
    const fs::path file = dir.Write("hiscores.dat", kOld);
    EXPECT_TRUE(Replace(file, kNew));
    EXPECT_EQ(Read(file), kNew);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::others_write, fs::perms::none) << "umask applies";
    EXPECT_TRUE(Replace(dir / "fresh.cfg", kOld)) << "a missing file is created";
    EXPECT_EQ(Read(dir / "fresh.cfg"), kOld);

    // A directory where the file should be, and a folder that does not exist.
    fs::create_directory(dir / "savegame.dat");
    EXPECT_FALSE(Replace(dir / "savegame.dat", kNew));
    EXPECT_TRUE(fs::is_directory(dir / "savegame.dat"));
    EXPECT_FALSE(Replace(dir / "no" / "such.cfg", kNew));

    // A disk that fills up after a few bytes, in a child so the limit stays there.
    Replace(file, kOld);
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small = {5, 5};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(Replace(file, kNew) ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(testsupport::ExitCodeOf(status), 0) << "the short write was reported as success";
    EXPECT_EQ(Read(file), kOld);

    // A FIFO where a user file should be reads as nothing at once instead of waiting for a writer.
    ASSERT_EQ(mkfifo((dir / "fifo.cfg").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile((dir / "fifo.cfg").c_str()), nullptr);
    std::FILE* fifo = OpenForReading((dir / "fifo.cfg").c_str());
    ASSERT_NE(fifo, nullptr);
    EXPECT_EQ(std::fgetc(fifo), EOF);
    std::fclose(fifo);
    fs::remove(dir / "fifo.cfg");

    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3) << "a temporary file was left behind";
}

} // namespace
