// Fuzz target: any bytes as a music entry, through the game's module gate, libmodplug's loader
// and a few rendered buffers.
#include <cstddef>
#include <cstdint>

#include "audio/music.h"
#include "audio/music_hook.h"

namespace {

constexpr int kBuffers = 4;
constexpr int kBufferBytes = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MusicModule* module = LoadMusicFromMemory(data, size);
    if (!module)
        return 0;
    static uint8_t pcm[kBufferBytes];
    for (int i = 0; i < kBuffers; ++i) {
        if (ModPlug_Read(module->file, pcm, sizeof pcm) <= 0)
            break;
    }
    FreeMusic(module);
    return 0;
}
