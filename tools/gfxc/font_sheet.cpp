// Font sheets: scaled glyph drawings with a colour ramp, shadow and outline.
#include "font_sheet.h"

#include "source_error.h"

std::string GlyphName(char c)
{
    return c == ' ' ? std::string("space") : std::string(1, c);
}

Image BuildFontSheet(const ArtLibrary& library, const FontStyle& style)
{
    const int rows = (kGlyphCount + kGlyphsPerRow - 1) / kGlyphsPerRow;
    Image sheet = MakeImage(kGlyphsPerRow * style.cell, rows * style.cell);
    for (int i = 0; i < kGlyphCount; ++i) {
        const char c = static_cast<char>(kFirstGlyph + i);
        const std::string name = GlyphName(c);
        const auto it = library.blocks.find(name);
        if (it == library.blocks.end())
            throw std::runtime_error("font has no glyph for '" + name + "'");
        const ArtBlock& block = it->second;
        const CharGrid glyph = ResolveArt(library, name);
        const int h = static_cast<int>(glyph.size()) * style.scale;
        const int w = static_cast<int>(glyph[0].size()) * style.scale;
        if (style.offsetX + w > style.cell || style.offsetY + h > style.cell)
            FailAt(block.file, block.line, "glyph '" + name + "' does not fit its cell");
        Image cell = MakeImage(style.cell, style.cell);
        Image ink = MakeImage(style.cell, style.cell, 0); // 1 where the glyph has ink
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const char p = glyph[y / style.scale][x / style.scale];
                if (p == '.')
                    continue;
                if (p != 'X')
                    FailAt(block.file, block.line, "glyph rows use only 'X' and '.'");
                const size_t band = static_cast<size_t>(y) * style.ramp.size() / h;
                SetPixel(cell, style.offsetX + x, style.offsetY + y, style.ramp[band]);
                SetPixel(ink, style.offsetX + x, style.offsetY + y, 1);
            }
        for (int y = 0; y < style.cell; ++y)
            for (int x = 0; x < style.cell; ++x) {
                if (PixelAt(ink, x, y) == 1)
                    continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && style.outline; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (Inside(ink, x + dx, y + dy) && PixelAt(ink, x + dx, y + dy) == 1)
                            near = true;
                if (near)
                    SetPixel(cell, x, y, style.outlineColour);
                else if (style.shadow && Inside(ink, x - 1, y - 1) && PixelAt(ink, x - 1, y - 1) == 1)
                    SetPixel(cell, x, y, style.shadowColour);
            }
        const int ox = (i % kGlyphsPerRow) * style.cell, oy = (i / kGlyphsPerRow) * style.cell;
        for (int y = 0; y < style.cell; ++y)
            for (int x = 0; x < style.cell; ++x)
                SetPixel(sheet, ox + x, oy + y, PixelAt(cell, x, y));
    }
    return sheet;
}
