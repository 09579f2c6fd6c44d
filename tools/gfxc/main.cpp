// gfxc: compiles the game's text picture sources into 24-bit BMP files.
//   gfxc tiles   PALETTE OUT.bmp TILEFILE...        the 320x192 tile sheet
//   gfxc font    PALETTE OUT.bmp GLYPHFILE OPTION... a font sheet; options:
//                cell=N scale=N offset=X,Y ramp=CHARS shadow=C outline=C
//   gfxc picture PALETTE OUT.bmp SCRIPT             a picture script
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "font_sheet.h"
#include "palette.h"
#include "picture_script.h"
#include "pixel_art.h"
#include "tile_sheet.h"

namespace {

int Usage()
{
    std::fprintf(
        stderr, "usage: gfxc tiles PALETTE OUT.bmp TILEFILE...\n"
                "       gfxc font PALETTE OUT.bmp GLYPHFILE [cell=N scale=N offset=X,Y ramp=CHARS shadow=C outline=C]\n"
                "       gfxc picture PALETTE OUT.bmp SCRIPT\n");
    return 2;
}

FontStyle ParseFontOptions(const Palette& palette, int argc, char** argv, int first)
{
    FontStyle style;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error("font option without '=': " + arg);
        const std::string key = arg.substr(0, eq), value = arg.substr(eq + 1);
        const bool oneChar = value.size() == 1;
        if (key == "cell") {
            style.cell = std::atoi(value.c_str());
        } else if (key == "scale") {
            style.scale = std::atoi(value.c_str());
        } else if (key == "offset") {
            if (std::sscanf(value.c_str(), "%d,%d", &style.offsetX, &style.offsetY) != 2)
                throw std::runtime_error("offset must be X,Y: " + arg);
        } else if (key == "ramp") {
            for (char c : value)
                style.ramp.push_back(ColourOf(palette, c, "command line", 0));
        } else if (key == "shadow" && oneChar) {
            style.shadow = true;
            style.shadowColour = ColourOf(palette, value[0], "command line", 0);
        } else if (key == "outline" && oneChar) {
            style.outline = true;
            style.outlineColour = ColourOf(palette, value[0], "command line", 0);
        } else {
            throw std::runtime_error("bad font option: " + arg);
        }
    }
    if (style.ramp.empty() || style.cell <= 0 || style.scale <= 0)
        throw std::runtime_error("font needs ramp=, and positive cell= and scale=");
    return style;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
        return Usage();
    const std::string mode = argv[1];
    const std::string out = argv[3];
    try {
        const Palette palette = LoadPalette(argv[2]);
        Image image;
        if (mode == "tiles") {
            ArtLibrary library;
            for (int i = 4; i < argc; ++i)
                LoadArtFile(library, argv[i]);
            image = BuildTileSheet(library, palette);
        } else if (mode == "font") {
            ArtLibrary library;
            LoadArtFile(library, argv[4]);
            image = BuildFontSheet(library, ParseFontOptions(palette, argc, argv, 5));
        } else if (mode == "picture") {
            image = RunPictureScript(argv[4], palette);
        } else {
            return Usage();
        }
        if (!WriteBmp(image, out))
            throw std::runtime_error("cannot write " + out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gfxc: %s\n", e.what());
        return 1;
    }
    return 0;
}
