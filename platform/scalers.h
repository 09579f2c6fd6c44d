// Software scalers from the 320x240 logical screen to a 640x480 picture, on raw pixel buffers:
// the portable passes, which the builds for newer instruction sets (platform/scaler_sets.h) match.
#pragma once

#include <cstdint>

// Size of the doubled picture the scalers write.
constexpr int kDoubledWidth = 640;
constexpr int kDoubledHeight = 480;

// 32-bit words in the smoothing buffer: a pixel value and its masked value per logical pixel.
constexpr int kSmoothBufferWords = 320 * 240 * 2;

// All scalers read a 320x240 picture at src (rows srcPitch bytes apart) and write a
// 640x480 picture at dst (rows dstPitch bytes apart). bytesPerPixel is 2 or 3 for both;
// 2-byte pixels are the host's 16-bit words; 3-byte pixels are taken as values lowest byte
// first on every host (their components are whole bytes, so the pictures come out the same
// whichever end of the three bytes SDL puts red). The buffers must not overlap.

// Plain pixel doubling: every logical pixel becomes a 2x2 block.
void ScalePlain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);

// The Scale2x rule: edges follow the neighbours that agree; a neighbour outside the
// picture counts as the pixel itself. Pixels are compared as whole values.
void Scale2x(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);

// Integer scaling: every pixel of the width x height picture at src becomes an n x n block
// (n >= 1) of the picture at dst, n times as wide and as high; bytesPerPixel is 2 or 3.
// Writes nothing outside that picture.
void ScaleRepeat(const uint8_t* src, int srcPitch, int width, int height, uint8_t* dst, int dstPitch,
                 int bytesPerPixel, int n);

// Mask that clears the lowest bit of the red, green and blue components given their
// bit shifts (the position of each component's lowest bit), confined to the pixel size.
uint32_t SmoothMask(int redShift, int greenShift, int blueShift, int bytesPerPixel);

// Smoothing in one pass over the rows: stores, for logical pixel i (row-major), the pixel
// value in buffer[2i] and the value AND mask in buffer[2i+1] (buffer holds
// kSmoothBufferWords), and writes the 640x480 picture from those values: copied pixels
// take the pixel value, the pixels between take the average of two masked neighbours.
// Column 639 repeats column 638 and row 478 repeats row 479, so every pixel is written.
void ScaleSmooth(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                 uint32_t* buffer);
