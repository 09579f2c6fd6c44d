// Pixel-art SVG writer: each run of equal opaque pixels in a row becomes one rectangle.
#include "svg_writer.h"

#include <cstdio>
#include <fstream>

bool WritePixelSvg(const RgbaImage& image, const std::string& path)
{
    std::ofstream out(path);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << image.width << "\" height=\"" << image.height
        << "\" viewBox=\"0 0 " << image.width << ' ' << image.height << "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < image.height; ++y) {
        const uint32_t* row = &image.pixels[static_cast<size_t>(y) * image.width];
        for (int x = 0; x < image.width;) {
            int end = x + 1;
            while (end < image.width && row[end] == row[x])
                ++end;
            if ((row[x] & 0xFF) != 0) {
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%06X", row[x] >> 8);
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << end - x << "\" height=\"1\" fill=\""
                    << colour << "\"/>\n";
            }
            x = end;
        }
    }
    out << "</svg>\n";
    out.close();
    return static_cast<bool>(out);
}
