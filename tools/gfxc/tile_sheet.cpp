// The tile sheet: every tile block at its code's cell.
#include "tile_sheet.h"

#include "source_error.h"

void DrawArt(Image& target, const CharGrid& art, const Palette& palette, int x, int y, int scale, bool mirror,
             const std::string& file, int line)
{
    for (size_t row = 0; row < art.size(); ++row) {
        const std::string& text = art[row];
        for (size_t col = 0; col < text.size(); ++col) {
            const char c = text[mirror ? text.size() - 1 - col : col];
            if (c == kKeyChar)
                continue;
            const Rgb colour = ColourOf(palette, c, file, line);
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    SetPixel(target, x + static_cast<int>(col) * scale + dx, y + static_cast<int>(row) * scale + dy,
                             colour);
        }
    }
}

Image BuildTileSheet(const ArtLibrary& library, const Palette& palette)
{
    Image sheet = MakeImage(kTileSheetColumns * kCellSize, kTileSheetRows * kCellSize);
    for (int code = 0; code < 0x10000; ++code) {
        const auto it = library.blocks.find(TileName(code));
        if (it == library.blocks.end())
            continue;
        const ArtBlock& block = it->second;
        if (code >= kTileCodeCount)
            FailAt(block.file, block.line, "tile code " + std::to_string(code) + " is beyond the sheet");
        const CharGrid art = ResolveArt(library, block.name);
        if (art.size() != kCellSize || art[0].size() != kCellSize)
            FailAt(block.file, block.line, "tile " + std::to_string(code) + " is not 16x16");
        DrawArt(sheet, art, palette, (code % kTileSheetColumns) * kCellSize, (code / kTileSheetColumns) * kCellSize, 1,
                false, block.file, block.line);
    }
    return sheet;
}
