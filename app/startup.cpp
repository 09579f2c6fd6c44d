// Start-up and shutdown of the game process, in their fixed orders.
#include "app/startup.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <unistd.h>

#include <cstdlib>

#include "app/command_line.h"
#include "app/intro_scenes.h"
#include "assets/archive.h"
#include "assets/configuration.h"
#include "assets/fonts.h"
#include "assets/front_end_images.h"
#include "assets/tile_images.h"
#include "audio/music.h"
#include "audio/sound_effects.h"
#include "core/fatal_error.h"
#include "core/settings.h"
#include "game/game_state.h"
#include "game/hiscores.h"
#include "game/session.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "world/level_map.h"

namespace {

// Mixer format: the module renderer is told these requested values, not what the device granted.
constexpr int kMixFrequency = 22050;
constexpr int kMixChannels = 2;
constexpr int kMixChunkSize = 1024;
constexpr int kMixVoices = 16;

// Exit codes above this name the signal that asked the program to end.
constexpr int kSignalExitBase = 128;

SDL_Cursor* hiddenCursor = nullptr;

// Percent volume to the mixer's 0..128 scale (100 gives 128, 15 gives 19).
int MixerVolume(int percent)
{
    return percent * 128 / 100;
}

DisplayConfig DisplayFromSettings()
{
    DisplayConfig d;
    d.fullscreen = settings.fullscreen;
    d.zoom = settings.zoom;
    d.smooth = settings.smooth;
    d.scale2x = settings.scale2x;
    d.depth = settings.colorDepth;
    d.opengl = 0;
    d.hd = 0;
    return d;
}

// Seconds SDL_Quit may take on the way out before the process is ended anyway.
constexpr unsigned kQuitGraceSeconds = 3;

// SDL_Quit on the way out. It talks to the display, and when the display itself
// has gone (the X server closed, which ends the process through Xlib's exit) it
// waits for it for ever; the alarm then ends the process instead of leaving it
// spinning.
void QuitSdlOnExit()
{
    alarm(kQuitGraceSeconds);
    SDL_Quit();
}

} // namespace

void StartPlatform(const DisplayConfig& display)
{
    // Before SDL_Init: SDL's threads inherit the blocked end signals, which then wait for the
    // main thread's event pump.
    CatchEndSignals();
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        FatalError("Unable to init SDL", SDL_GetError());
    // Both ways out give the desktop its video mode back: a normal exit and a fatal error.
    std::atexit(QuitSdlOnExit);
    std::at_quick_exit(QuitSdlOnExit);

    OpenDisplay(display);
    MapColors();
    CreateDimOverlay();

    OpenJoystick();

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == -1)
        FatalError("SDL_Init", SDL_GetError());
    // Host byte order: the music hook hands on libmodplug's samples as they come.
    if (Mix_OpenAudio(kMixFrequency, AUDIO_S16SYS, kMixChannels, kMixChunkSize) == -1)
        FatalError("Mix_OpenAudio", SDL_GetError());
    SetMusicOutputFormat(kMixFrequency, kMixChannels);
    Mix_AllocateChannels(kMixVoices);
    SetSoundPlayer(PlayEffect);

    SDL_WM_SetCaption("Fribb 3 v1.00", nullptr);

    // A 1x1 cursor whose data and mask are both clear is fully transparent.
    Uint8 data = 0;
    Uint8 mask = 0;
    hiddenCursor = SDL_CreateCursor(&data, &mask, 1, 1, 0, 0);
    if (hiddenCursor)
        SDL_SetCursor(hiddenCursor);

    OpenArchives();
}

DisplayConfig ChooseDisplay(const CommandLine& commandLine)
{
    // Any argument at all leaves the file's screen choices alone.
    if (commandLine.hasArguments)
        return commandLine.display;
    ReadGraphicsMode();
    return DisplayFromSettings();
}

void LoadFrontEnd()
{
    LoadFonts();
    LoadLogo();

    ResetBindings();
    ReadConfiguration();

    SetEffectsVolume(MixerVolume(settings.sfxVolume));
    SetMusicVolume(MixerVolume(settings.musicVolume));
}

void ShutDown()
{
    if (hiddenCursor)
        SDL_FreeCursor(hiddenCursor);
    hiddenCursor = nullptr;
    CloseJoystick();
    CloseDisplay();
    FreeFrontEndImages();
    FreeTileImages();
    FreeFonts();
    FreeSoundEffects();
    FreeLevelMap();
    CloseArchives();
    Mix_CloseAudio();
    SDL_Quit();
}

int GameMain(int argc, char** argv)
{
    const CommandLine cl = ParseCommandLine(argc, argv);
    if (cl.helpRequested) {
        PrintHelp();
        return 0;
    }
    const DisplayConfig display = ChooseDisplay(cl);
    game.testMode = cl.testMode;

    StartPlatform(display);
    LoadFrontEnd();
    PlayFromIntro(cl.testMode);
    ShutDown();
    // Ended by a signal: the shell's code for it, after the same orderly shutdown.
    return EndSignal() ? kSignalExitBase + EndSignal() : 0;
}

void PlayFromIntro(bool testMode)
{
    input.quitRequest = 0;
    RunScenes(testMode ? kCreditsScene : 0);
    LoadBack();
    LoadHiscores();
    if (!input.quitRequest && !SessionStopRequested())
        RunSession(testMode ? 1 : 0);
}
