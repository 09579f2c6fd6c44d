// Replacing a user file: the old file survives every failure byte for byte, no temporary file is left,
// links, modes and owners stay as the player made them, and a protected file is never replaced.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
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

struct stat StatOf(const fs::path& path)
{
    struct stat st = {};
    lstat(path.c_str(), &st);
    return st;
}

mode_t ModeOf(const fs::path& path)
{
    return StatOf(path).st_mode & 07777;
}

// The names in a folder.
std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// The account an unprivileged player runs as: "nobody", or this process's own when it is not root.
struct Player {
    uid_t uid = 0;
    gid_t gid = 0;
};

bool FindPlayer(Player& player)
{
    if (geteuid() != 0) {
        player = {geteuid(), getegid()};
        return true;
    }
    const passwd* pw = getpwnam("nobody");
    if (!pw)
        return false;
    player = {pw->pw_uid, pw->pw_gid};
    return true;
}

// Runs write as the player: in a child that gives up root for good, or right here when the
// tests already run unprivileged. Returns what write returned.
bool AsPlayer(const Player& player, const std::function<bool()>& write)
{
    if (geteuid() != 0)
        return write();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(player.gid) != 0 || setuid(player.uid) != 0)
            _exit(2);
        _exit(write() ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const int code = testsupport::ExitCodeOf(status);
    EXPECT_TRUE(code == 0 || code == 1) << "the player's child ended with " << status;
    return code == 0;
}

void MakeFile(const fs::path& path, const std::string& text, uid_t uid, gid_t gid, mode_t mode)
{
    std::ofstream(path, std::ios::binary) << text;
    ASSERT_EQ(chown(path.c_str(), uid, gid), 0);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
}

TEST(UserFile, WritesThroughLinksAndKeepsModeOwnerAndHardLinks)
{
    testsupport::ScratchDir dir;
    fs::create_directory(dir / "dotfiles");

    // A relative link, a chain of two links, and a link whose target does not exist yet.
    const fs::path target = dir.Write("dotfiles/fribb3.cfg", kOld);
    fs::create_symlink("dotfiles/fribb3.cfg", dir / "fribb3.cfg");
    fs::create_symlink(dir / "fribb3.cfg", dir / "chain.cfg");
    fs::create_symlink("dotfiles/hiscores.dat", dir / "hiscores.dat");
    EXPECT_TRUE(Replace(dir / "fribb3.cfg", kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "fribb3.cfg")) << "the link was replaced by a plain file";
    EXPECT_EQ(Read(target), kNew);
    EXPECT_TRUE(Replace(dir / "chain.cfg", kOld));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.cfg"));
    EXPECT_EQ(Read(target), kOld);
    EXPECT_TRUE(Replace(dir / "hiscores.dat", kNew));
    EXPECT_TRUE(fs::is_symlink(dir / "hiscores.dat"));
    EXPECT_EQ(Read(dir / "dotfiles" / "hiscores.dat"), kNew);
    // A file made anew is readable and writable as far as the player's umask allows.
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(ModeOf(dir / "dotfiles" / "hiscores.dat"), 0666u & ~mask);
    // A loop of links is refused rather than followed for ever.
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_FALSE(Replace(dir / "loop-a", kNew));

    // The old mode stays, also where it is stricter or looser than the umask would make it.
    for (mode_t mode : {0600, 0640, 0664, 0604}) {
        const fs::path file = dir.Write("savegame.dat", kOld);
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        EXPECT_TRUE(Replace(file, kNew));
        EXPECT_EQ(ModeOf(file), mode);
        EXPECT_EQ(Read(file), kNew);
    }

    // A second name of the file sees the new contents too.
    const fs::path linked = dir.Write("linked.dat", kOld);
    fs::create_hard_link(linked, dir / "dotfiles" / "linked-too.dat");
    EXPECT_TRUE(Replace(linked, kNew));
    EXPECT_EQ(Read(dir / "dotfiles" / "linked-too.dat"), kNew);
    EXPECT_EQ(Read(linked), kNew);
    EXPECT_EQ(StatOf(linked).st_nlink, 2u);

    // Root writing another user's file keeps its owner and group.
    Player player;
    if (geteuid() == 0 && FindPlayer(player)) {
        const fs::path theirs = dir / "theirs.dat";
        MakeFile(theirs, kOld, player.uid, player.gid, 0640);
        EXPECT_TRUE(Replace(theirs, kNew));
        EXPECT_EQ(StatOf(theirs).st_uid, player.uid);
        EXPECT_EQ(StatOf(theirs).st_gid, player.gid);
        EXPECT_EQ(ModeOf(theirs), 0640u);
        EXPECT_EQ(Read(theirs), kNew);
    }
    EXPECT_EQ(Names(dir / "dotfiles"), (std::set<std::string>{"fribb3.cfg", "hiscores.dat", "linked-too.dat"}))
        << "a temporary file was left behind";
}

TEST(UserFile, AnUnprivilegedPlayerNeverLosesAFileItCannotWrite)
{
    Player player;
    if (!FindPlayer(player))
        GTEST_SKIP() << "no unprivileged account";
    const bool root = geteuid() == 0;
    const uid_t other = 0; // root's files stand for another user's
    testsupport::ScratchDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const fs::path open = dir / "open", closed = dir / "closed";
    fs::create_directory(open);
    fs::create_directory(closed);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0) << "the player may make files here";

    struct Case {
        const char* name;
        bool inOpenFolder;
        bool exists;
        bool othersFile; // owned by another user (needs root to set up)
        mode_t mode;
        bool written;
        const char* why;
    };
    const Case cases[] = {
        {"locked.dat", true, true, false, 0000, false, "a file the player cannot read or write"},
        {"readonly.dat", true, true, false, 0444, false, "a read-only savegame"},
        {"others.dat", true, true, true, 0644, false, "another user's file"},
        {"others-locked.dat", true, true, true, 0600, false, "another user's private file"},
        {"shared.dat", true, true, true, 0666, true, "another user's file open to all, written in place"},
        {"mine.dat", true, true, false, 0600, true, "the player's own file"},
        {"mine.cfg", false, true, false, 0644, true, "a file in a folder that takes no temporary file"},
        {"new.cfg", false, false, false, 0, false, "a new file in a folder the player cannot write"},
        {"new.dat", true, false, false, 0, true, "a new file"},
    };
    ASSERT_EQ(chown(open.c_str(), root ? other : player.uid, root ? other : player.gid), 0);
    ASSERT_EQ(chown(closed.c_str(), root ? other : player.uid, root ? other : player.gid), 0);
    for (const Case& c : cases) {
        if (c.othersFile && !root)
            continue;
        const fs::path file = (c.inOpenFolder ? open : closed) / c.name;
        if (c.exists)
            MakeFile(file, kOld, c.othersFile ? other : player.uid, c.othersFile ? other : player.gid, c.mode);
    }
    ASSERT_EQ(chmod(closed.c_str(), 0555), 0) << "the player may make no file here";
    for (const Case& c : cases) {
        if (c.othersFile && !root)
            continue;
        const fs::path file = (c.inOpenFolder ? open : closed) / c.name;
        const struct stat before = StatOf(file);
        EXPECT_EQ(AsPlayer(player, [&] { return Replace(file, kNew); }), c.written) << c.why;
        if (!c.exists) {
            EXPECT_EQ(fs::exists(file), c.written) << c.why;
            continue;
        }
        const struct stat after = StatOf(file);
        EXPECT_EQ(Read(file), c.written ? kNew : kOld) << c.why;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.why;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.why;
        EXPECT_EQ(after.st_gid, before.st_gid) << c.why;
        if (!c.written) {
            EXPECT_EQ(after.st_ino, before.st_ino) << c.why << ": replaced by another file";
        }
    }
    ASSERT_EQ(chmod(closed.c_str(), 0755), 0);
    std::set<std::string> expected;
    for (const Case& c : cases)
        if (c.inOpenFolder && (c.exists || c.written) && (root || !c.othersFile))
            expected.insert(c.name);
    EXPECT_EQ(Names(open), expected) << "a temporary file was left behind";
}

TEST(UserFile, RemovesItsOwnLeftoversOnlyWhenItNextWritesThatFile)
{
    testsupport::ScratchDir dir;
    const fs::path file = dir.Write("hiscores.dat", kOld);
    // What a killed write leaves, and names that only look alike.
    const char* leftovers[] = {"hiscores.dat.Ab3xQ9", "hiscores.dat.000123", "hiscores.dat.qWeRtY"};
    const char* kept[] = {
        "hiscores.dat.backup", // a word the player chose
        "hiscores.dat.BACKUP", "hiscores.dat.Ab3xQ",  "hiscores.dat.Ab3xQ9z", "hiscores.dat-Ab3xQ9",
        "fribb3.cfg.Ab3xQ9",   // another user file's leftover waits for that file's write
        "hiscores.dat.Zz9Zz9", // a folder
        "hiscores.dat.Yy8Yy8", // a link
        "hiscores.dat.Xx7Xx7", // a file with a second name
    };
    for (const char* name : leftovers)
        dir.Write(name, "half");
    for (const char* name : kept)
        dir.Write(name, "keep");
    fs::remove(dir / "hiscores.dat.Zz9Zz9");
    fs::create_directory(dir / "hiscores.dat.Zz9Zz9");
    fs::remove(dir / "hiscores.dat.Yy8Yy8");
    fs::create_symlink("hiscores.dat.backup", dir / "hiscores.dat.Yy8Yy8");
    fs::create_hard_link(dir / "hiscores.dat.Xx7Xx7", dir / "second-name");

    EXPECT_TRUE(Replace(file, kNew));
    std::set<std::string> expected = {"hiscores.dat", "second-name"};
    for (const char* name : kept)
        expected.insert(name);
    EXPECT_EQ(Names(dir.path()), expected);
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
