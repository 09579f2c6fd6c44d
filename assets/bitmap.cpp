// LoadBitmap: archive entry to decoded, converted surface, with the two fatal paths.
#include "assets/bitmap.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/archive.h"
#include "core/fatal_error.h"
#include "platform/display.h"
#include "platform/draw.h"

namespace {

// Where an undecodable picture is left for inspection.
constexpr const char* kDumpFile = "fuu.xxx";

// The largest picture the game will decode. SDL allocates width x height before it
// reads a pixel, so a damaged header must be refused before it gets that far.
constexpr int64_t kMaxPictureSide = 4096;
// BMP layout: "BM", then the info header's size at 14; the old 12-byte header holds
// 16-bit width, height and depth, the newer ones (40 bytes or more) 32-bit ones.
constexpr size_t kBmpInfoSizeAt = 14;
constexpr uint32_t kBmpCoreHeaderSize = 12;
constexpr uint32_t kBmpInfoHeaderSize = 40;

uint32_t Le16(const uint8_t* p)
{
    return p[0] | p[1] << 8;
}

uint32_t Le32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void DumpUndecodable(const uint8_t* data, size_t size)
{
    if (FILE* f = std::fopen(kDumpFile, "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

} // namespace

std::string BitmapHeaderProblem(const uint8_t* data, size_t size)
{
    if (size < kBmpInfoSizeAt + 4 || data[0] != 'B' || data[1] != 'M')
        return {}; // not a BMP at all: SDL says so in its own words
    const uint32_t infoSize = Le32(data + kBmpInfoSizeAt);
    const uint8_t* info = data + kBmpInfoSizeAt;
    int64_t width = 0, height = 0;
    uint32_t depth = 0;
    if (infoSize == kBmpCoreHeaderSize && size >= kBmpInfoSizeAt + kBmpCoreHeaderSize) {
        width = Le16(info + 4);
        height = Le16(info + 6);
        depth = Le16(info + 10);
    } else if (infoSize >= kBmpInfoHeaderSize && size >= kBmpInfoSizeAt + 16) {
        width = static_cast<int32_t>(Le32(info + 4));
        height = static_cast<int32_t>(Le32(info + 8)); // negative: stored top row first
        depth = Le16(info + 14);
    } else {
        return "unknown BMP header";
    }
    if (height < 0)
        height = -height;
    const bool depthOk = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide || !depthOk)
        return std::to_string(width) + "x" + std::to_string(height) + " pixels at " + std::to_string(depth) +
               " bits, at most " + std::to_string(kMaxPictureSide) + "x" + std::to_string(kMaxPictureSide);
    return {};
}

SDL_Surface* DecodeBitmap(const uint8_t* data, size_t size, bool keyed, int r, int g, int b)
{
    SDL_RWops* stream = SDL_RWFromMem(const_cast<uint8_t*>(data), static_cast<int>(size));
    SDL_Surface* image = stream ? SDL_LoadBMP_RW(stream, 0) : nullptr;
    if (stream)
        SDL_RWclose(stream);
    if (!image)
        return nullptr;
    Uint32 flags = SDL_HWSURFACE;
    if (keyed) {
        SetColourKey(image, r, g, b);
        flags |= SDL_SRCCOLORKEY;
    } else {
        SDL_SetColorKey(image, 0, 0);
    }
    SDL_Surface* result = SDL_ConvertSurface(image, screenSurface->format, flags);
    SDL_FreeSurface(image);
    return result;
}

SDL_Surface* LoadBitmap(const char* name, bool keyed, int r, int g, int b)
{
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveGfx, name, "bmp", &size);
    if (!data)
        FatalError("Error loading gfx file", name);

    const std::string problem = BitmapHeaderProblem(data, size);
    if (!problem.empty()) {
        DumpUndecodable(data, size);
        FatalError("Unable to load bitmap", (std::string(name) + " (" + problem + ")").c_str());
    }
    SDL_Surface* result = DecodeBitmap(data, size, keyed, r, g, b);
    if (!result) {
        DumpUndecodable(data, size);
        FatalError("Unable to load bitmap", SDL_GetError());
    }
    std::free(data);
    return result;
}
