// RGB canvas helpers and the 24-bit BMP writer of the picture compiler.
#include "image.h"

#include <cstdio>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr int kBitsPerPixel = 24;
constexpr int kPixelsPerMetre = 2835; // 72 dpi, a conventional value

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

Image MakeImage(int width, int height, Rgb fill)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

bool Inside(const Image& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

Rgb PixelAt(const Image& image, int x, int y)
{
    if (!Inside(image, x, y))
        return kKeyColour;
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}

void SetPixel(Image& image, int x, int y, Rgb colour)
{
    if (Inside(image, x, y))
        image.pixels[static_cast<size_t>(y) * image.width + x] = colour;
}

bool WriteBmp(const Image& image, const std::string& path)
{
    const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u; // rows pad to 4 bytes
    const uint32_t dataSize = rowBytes * image.height;
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<uint8_t> out;
    out.reserve(offset + dataSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + dataSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height)); // positive: bottom-up rows
    Put16(out, 1);
    Put16(out, kBitsPerPixel);
    Put32(out, 0); // BI_RGB
    Put32(out, dataSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = PixelAt(image, x, y);
            out.push_back(static_cast<uint8_t>(c));       // blue
            out.push_back(static_cast<uint8_t>(c >> 8));  // green
            out.push_back(static_cast<uint8_t>(c >> 16)); // red
        }
        for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
