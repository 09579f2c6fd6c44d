// Closes the audio device before the test process exits.
//
// Tests open the mixer and leave it open for the next test. If the process then
// exits with the device still open, SDL's audio thread can call into the mixer
// after the shared libraries were unloaded and crash the run after every test
// passed. Closing the device while everything is still loaded avoids that.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

class CloseAudioAtExit : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (SDL_WasInit(SDL_INIT_AUDIO)) {
            Mix_HookMusic(nullptr, nullptr);
            // The mixer counts its openings; close every one of them.
            int frequency = 0;
            int channels = 0;
            Uint16 format = 0;
            while (Mix_QuerySpec(&frequency, &format, &channels) > 0)
                Mix_CloseAudio();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
};

[[maybe_unused]] ::testing::Environment* const closeAudioAtExit =
    ::testing::AddGlobalTestEnvironment(new CloseAudioAtExit);

} // namespace
