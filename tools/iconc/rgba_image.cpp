// BMP reading, cropping and nearest-neighbour scaling for the icon compiler.
#include "rgba_image.h"

#include <stdexcept>
#include <string>

#include "file_io.h"

namespace {

constexpr size_t kBmpHeaderSize = 54; // file header and BITMAPINFOHEADER
constexpr uint32_t kOpaque = 0xFF;
constexpr uint32_t kKeyRgb = 0xFF00FF;

uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

} // namespace

RgbaImage ReadKeyedBmp(const std::string& path)
{
    std::string text, why;
    if (!ReadToolInput(path, text, why))
        throw std::runtime_error(path + ": cannot read: " + why);
    const std::vector<uint8_t> b(text.begin(), text.end());
    if (b.size() < kBmpHeaderSize || b[0] != 'B' || b[1] != 'M')
        throw std::runtime_error(path + ": not a BMP file");
    const uint32_t offset = Read32(b, 10);
    const int32_t width = static_cast<int32_t>(Read32(b, 18));
    const int32_t height = static_cast<int32_t>(Read32(b, 22));
    const uint16_t bits = b[28] | b[29] << 8;
    if (bits != 24 || Read32(b, 30) != 0 || width <= 0 || height == 0 || height == INT32_MIN)
        throw std::runtime_error(path + ": only uncompressed 24-bit BMP files are read");
    const bool bottomUp = height > 0;
    RgbaImage image;
    image.width = width;
    image.height = bottomUp ? height : -height;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (offset > b.size() || (b.size() - offset) / rowBytes < static_cast<size_t>(image.height))
        throw std::runtime_error(path + ": pixel data is cut short");
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const size_t row = offset + rowBytes * (bottomUp ? image.height - 1 - y : y);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = &b[row + static_cast<size_t>(x) * 3];
            const uint32_t rgb = p[2] << 16 | p[1] << 8 | p[0];
            image.pixels[static_cast<size_t>(y) * image.width + x] = rgb == kKeyRgb ? 0 : rgb << 8 | kOpaque;
        }
    }
    return image;
}

RgbaImage CropAndScale(const RgbaImage& image, int x, int y, int side, int size)
{
    if (x < 0 || y < 0 || side <= 0 || size <= 0 || x > image.width - side || y > image.height - side)
        throw std::runtime_error("the icon square is not inside the picture");
    RgbaImage out;
    out.width = out.height = size;
    out.pixels.resize(static_cast<size_t>(size) * size);
    for (int oy = 0; oy < size; ++oy)
        for (int ox = 0; ox < size; ++ox)
            out.pixels[static_cast<size_t>(oy) * size + ox] =
                image.pixels[static_cast<size_t>(y + oy * side / size) * image.width + x + ox * side / size];
    return out;
}
