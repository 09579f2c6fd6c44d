// Music through the real mixer on its audio thread, recorded by the disk audio driver.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

const char* const kProbe = FRIBB3_BINARY_DIR "/tests/music_disk_probe";

TEST(MusicDisk, APlayOnceTuneRemovesItsOwnHookOnTheAudioThread)
{
    // The hook takes the audio lock again from inside the audio callback; a lock that
    // were not re-entrant would hang here until the probe's timeout.
    const std::string cmd = std::string("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=4 '") +
                            kProbe + "' 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[64] = {};
    const bool got = std::fgets(line, sizeof line, p) != nullptr;
    const int status = pclose(p);
    EXPECT_TRUE(got);
    EXPECT_STREQ(line, "stopped by itself\n");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
