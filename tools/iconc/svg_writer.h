// Scalable (SVG) output of the icon compiler.
#pragma once

#include <string>

#include "rgba_image.h"

// Writes the image as an SVG of one square per pixel, merged into runs along each
// row, with crisp edges so it stays pixel art at any size. Transparent pixels are
// left out. Returns false when the file cannot be written.
bool WritePixelSvg(const RgbaImage& image, const std::string& path);
