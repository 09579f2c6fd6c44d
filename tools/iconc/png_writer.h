// PNG output of the icon compiler.
#pragma once

#include <string>

#include "rgba_image.h"

// Writes the image as an 8-bit RGBA PNG with no timestamp, so equal pictures give
// equal files. Returns false when the file cannot be written.
bool WritePng(const RgbaImage& image, const std::string& path);
