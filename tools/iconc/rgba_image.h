// RGBA picture of the icon compiler, read from the 24-bit BMP files the picture compiler writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Row-major pixels from the top-left, each 0xRRGGBBAA.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Reads an uncompressed 24-bit BMP; magenta (255,0,255), the game's colour key,
// becomes fully transparent. Throws std::runtime_error naming the file on failure.
RgbaImage ReadKeyedBmp(const std::string& path);

// The side x side square at x, y of the image, scaled to size x size pixels by
// nearest neighbour. Throws std::runtime_error when the square is not inside.
RgbaImage CropAndScale(const RgbaImage& image, int x, int y, int side, int size);
