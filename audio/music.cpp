// Music playback: tracker modules rendered by libmodplug through the mixer's music hook,
// with the game's own fade-in, play count and renderer settings.
#include "audio/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "assets/archive.h"
#include "audio/mod_format.h"
#include "audio/music_hook.h"
#include "core/settings.h"

const char* const kMusicNames[kMusicCount] = {"0.fribb3-title", "1.labyrinth", "2.anctemple",     "3.happytimes",
                                              "4.almostthere",  "5.risingsun", "6.deepwildness",  "7.thechallenge",
                                              "8.twinrainbow",  "9.yist",      "10.tastyflowers", "x.levelcomplete",
                                              "y.jingle"};

namespace {

constexpr int kMaxMusicVolume = 128;
constexpr int kLoopForever = -1;
constexpr int kRenderBits = 16;
constexpr char kXmHeaderText[] = "Extended Module: ";
constexpr size_t kXmHeaderTextSize = sizeof kXmHeaderText - 1;
// An XM's fixed header (id text, name, tracker name, version, header size) is 64 bytes.
constexpr size_t kXmMinSize = 64;
constexpr char kPowerPackerMagic[] = "PP20";
// Magic, efficiency table and the trailing unpacked-size word.
constexpr size_t kPowerPackerMinSize = 12;
// A module that will play again is read in pieces of this many bytes (64 stereo frames, 2.9 ms),
// so it restarts within one piece of its last row instead of after the library's 100 ms
// end-of-song fade and the silence that pads the buffer: the beat keeps its place across the loop.
constexpr int kRestartPieceBytes = 64 * 4;
// The library numbers patterns below this; past the end of the order list it reports 255.
constexpr int kLibraryPatternLimit = 240;

// Output format the modules are rendered for; start-up passes what it asked the mixer for.
std::atomic<int> outputFrequency{22050};
std::atomic<int> outputChannels{2};

// Paced playback renders what the mixer would ask for: buffers of this many sample frames.
constexpr int kPacedBufferFrames = 1024;
constexpr int kBytesPerSample = 2;
constexpr uint64_t kMsPerSecond = 1000;
bool pacedByCaller = false;
// Sample frames owed to a paced module, in thousandths (ms x frequency).
uint64_t pacedFramesOwed = 0;

bool IsDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

bool IsModSignature(const uint8_t* s)
{
    static const char* const kFixed[] = {"M.K.", "M!K!", "M&K!", "N.T.", "FLT4", "FLT8", "CD81", "OKTA", "OCTA"};
    for (const char* sig : kFixed) {
        if (std::memcmp(s, sig, kModSignatureSize) == 0)
            return true;
    }
    // "4CHN".."9CHN" and "10CH".."32CH": the channel count spelled in the signature.
    if (IsDigit(s[0]) && s[0] != '0' && s[1] == 'C' && s[2] == 'H' && s[3] == 'N')
        return true;
    return IsDigit(s[0]) && IsDigit(s[1]) && s[2] == 'C' && s[3] == 'H';
}

// Hands the current master volume to the module if the hook or the main thread changed it.
void SyncMasterVolume(MusicModule* module)
{
    const int volume = musicVolume.load(std::memory_order_relaxed);
    if (module->appliedVolume.exchange(volume, std::memory_order_relaxed) != volume)
        ModPlug_SetMasterVolume(module->file, static_cast<unsigned>(volume)); // the library clamps to 1..512
}

// Takes one play off the count (a count of -1 repeats for ever) and returns the plays left.
int CountOnePlay()
{
    int loops = musicLoopsLeft.load();
    while (loops > 0 && !musicLoopsLeft.compare_exchange_weak(loops, loops - 1)) {
    }
    return loops > 0 ? loops - 1 : loops;
}

} // namespace

std::atomic<MusicModule*> currentMusic{nullptr};
std::atomic<int> musicVolume{kMaxMusicVolume};
std::atomic<int> musicTargetVolume{kMaxMusicVolume};
std::atomic<int> musicFadeStep{0};
std::atomic<int> musicLoopsLeft{kLoopForever};

bool LooksLikeShippedModule(const uint8_t* data, size_t size)
{
    if (!data)
        return false;
    if (size >= kModSignatureOffset + kModSignatureSize && IsModSignature(data + kModSignatureOffset))
        return true;
    if (size >= kXmMinSize && std::memcmp(data, kXmHeaderText, kXmHeaderTextSize) == 0)
        return true;
    return size >= kPowerPackerMinSize && std::memcmp(data, kPowerPackerMagic, sizeof kPowerPackerMagic - 1) == 0;
}

MusicModule* LoadMusicFromMemory(const uint8_t* data, size_t size)
{
    // Only shapes we ship reach the library: its loaders for other formats are far less tried.
    if (!LooksLikeShippedModule(data, size) || size > static_cast<size_t>(INT32_MAX))
        return nullptr;
    ModPlugFile* file = ModPlug_Load(data, static_cast<int>(size));
    if (!file)
        return nullptr;
    MusicModule* module = new (std::nothrow) MusicModule;
    if (!module) {
        ModPlug_Unload(file);
        return nullptr;
    }
    module->file = file;
    return module;
}

void SetMusicOutputFormat(int frequency, int channels)
{
    outputFrequency = frequency;
    outputChannels = channels;
}

void ApplyMusicSettings()
{
    ModPlug_Settings s;
    ModPlug_GetSettings(&s);
    s.mFlags = settings.mpFlags;
    s.mResamplingMode = settings.mpResamplingMode;
    s.mReverbDepth = settings.mpReverbDepth;
    s.mReverbDelay = settings.mpReverbDelay;
    s.mBassAmount = settings.mpBassAmount;
    s.mBassRange = settings.mpBassRange;
    s.mSurroundDepth = settings.mpSurroundDepth;
    s.mSurroundDelay = settings.mpSurroundDelay;
    s.mFrequency = outputFrequency;
    s.mBits = kRenderBits;
    s.mChannels = outputChannels;
    // The renderer state is global to the library; a module rendering on the audio thread
    // must not see it change halfway through a buffer.
    SDL_LockAudio();
    ModPlug_SetSettings(&s);
    SDL_UnlockAudio();
}

MusicModule* LoadMusic(int id)
{
    if (id < 0 || id >= kMusicCount)
        return nullptr;
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveMusic, kMusicNames[id], "mod", &size);
    musicLoopsLeft = kLoopForever;
    ApplyMusicSettings();
    MusicModule* module = data ? LoadMusicFromMemory(data, size) : nullptr;
    std::free(data); // the library keeps its own copy
    return module;
}

void PlayMusic(MusicModule* module, int loops)
{
    if (!module)
        return;
    // Restarting must not seek or retune a module while the audio thread renders it.
    if (currentMusic.load())
        StopMusicHook();
    musicLoopsLeft = loops;
    ApplyMusicSettings();
    module->appliedVolume = -1;
    SyncMasterVolume(module);
    ModPlug_Seek(module->file, 0);
    currentMusic = module;
    pacedFramesOwed = 0;
    if (!pacedByCaller)
        Mix_HookMusic(MusicHook, module);
}

void StopMusicHook()
{
    Mix_HookMusic(nullptr, nullptr);
    currentMusic = nullptr;
}

void FreeMusic(MusicModule* module)
{
    if (!module)
        return;
    StopMusicHook();
    ModPlug_Unload(module->file);
    delete module;
}

void SetMusicVolume(int volume)
{
    volume = std::clamp(volume, 0, kMaxMusicVolume);
    musicTargetVolume = volume;
    musicVolume = volume;
    if (MusicModule* module = currentMusic.load())
        SyncMasterVolume(module);
}

int MusicTargetVolume()
{
    return musicTargetVolume;
}

void PlayMusicFadingIn(MusicModule* module)
{
    if (musicTargetVolume < 1)
        return; // the user turned music off: the stage plays without it
    musicVolume = 1;
    musicFadeStep = 1;
    PlayMusic(module, kLoopForever);
}

bool MusicPlaying()
{
    return currentMusic.load() != nullptr;
}

void PaceMusicByCaller(bool on)
{
    if (currentMusic.load())
        StopMusicHook();
    pacedByCaller = on;
    pacedFramesOwed = 0;
}

void AdvanceMusic(uint32_t ms)
{
    if (!pacedByCaller || !currentMusic.load()) {
        pacedFramesOwed = 0;
        return;
    }
    const int channels = outputChannels;
    uint8_t buffer[kPacedBufferFrames * 2 * kBytesPerSample];
    const int bufferBytes = kPacedBufferFrames * channels * kBytesPerSample;
    if (bufferBytes > static_cast<int>(sizeof buffer))
        return;
    pacedFramesOwed += static_cast<uint64_t>(ms) * static_cast<uint64_t>(outputFrequency.load());
    constexpr uint64_t kBufferOwed = kPacedBufferFrames * kMsPerSecond;
    while (pacedFramesOwed >= kBufferOwed) {
        pacedFramesOwed -= kBufferOwed;
        MusicModule* module = currentMusic.load();
        if (!module)
            break;
        MusicHook(module, buffer, bufferBytes);
    }
}

void MusicHook(void* udata, uint8_t* stream, int length)
{
    auto* module = static_cast<MusicModule*>(udata);
    if (!module || !module->file || length <= 0) {
        if (length > 0)
            std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }

    // Fade: one step per buffer towards the target, never past it. The exchange only
    // succeeds if the main thread did not set a new volume meanwhile; its value wins.
    int volume = musicVolume.load();
    const int target = musicTargetVolume.load();
    if (volume != target && volume > 0) {
        int next = volume + musicFadeStep.load();
        if ((volume < target && next > target) || (volume > target && next < target))
            next = target;
        musicVolume.compare_exchange_strong(volume, next);
    }
    SyncMasterVolume(module);

    for (int done = 0; done < length;) {
        const int loops = musicLoopsLeft.load();
        const bool playsAgain = loops < 0 || loops > 1;
        const int piece = playsAgain ? std::min(length - done, kRestartPieceBytes) : length - done;
        const int written = std::max(ModPlug_Read(module->file, stream + done, piece), 0);
        done += written;
        if (playsAgain && ModPlug_GetCurrentPattern(module->file) >= kLibraryPatternLimit) {
            // The last row has just ended: start again at once, filling the rest of the buffer.
            CountOnePlay();
            ModPlug_Seek(module->file, 0);
            continue;
        }
        if (written < piece) {
            // The module ended inside this buffer: the rest is silence, then restart or stop.
            std::memset(stream + done, 0, static_cast<size_t>(length - done));
            if (CountOnePlay() == 0)
                StopMusicHook(); // the audio lock is re-entrant on the audio thread
            else
                ModPlug_Seek(module->file, 0);
            return;
        }
    }
}
