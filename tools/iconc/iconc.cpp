// iconc: cuts a square out of a BMP picture and writes it as an icon.
//   iconc IN.bmp X Y SIDE OUT.png SIZE   a SIZE x SIZE PNG, scaled by nearest neighbour
//   iconc IN.bmp X Y SIDE OUT.svg        a scalable pixel-art SVG of the square
// Magenta (255,0,255) in the picture becomes transparent.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "png_writer.h"
#include "rgba_image.h"
#include "svg_writer.h"

namespace {

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: iconc IN.bmp X Y SIDE OUT.png SIZE\n"
                         "       iconc IN.bmp X Y SIDE OUT.svg\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 6)
        return Usage();
    const std::string out = argv[5];
    const bool svg = EndsWith(out, ".svg");
    if (argc != (svg ? 6 : 7) || (!svg && !EndsWith(out, ".png")))
        return Usage();
    try {
        const RgbaImage picture = ReadKeyedBmp(argv[1]);
        const int side = std::atoi(argv[4]);
        // The SVG keeps one square per source pixel; the viewer does the scaling.
        const RgbaImage icon =
            CropAndScale(picture, std::atoi(argv[2]), std::atoi(argv[3]), side, svg ? side : std::atoi(argv[6]));
        if (svg ? !WritePixelSvg(icon, out) : !WritePng(icon, out))
            throw std::runtime_error(out + ": cannot write");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "iconc: %s\n", e.what());
        return 1;
    }
    return 0;
}
