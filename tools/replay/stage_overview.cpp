// The stage overview picture: background, both tile layers and the map's markers in one BMP.
#include "tools/replay/stage_overview.h"

#include <SDL.h>

#include <vector>

#include "assets/front_end_images.h"
#include "game/back_wall_recess.h"
#include "platform/draw.h"
#include "world/level_map.h"
#include "world/map_format.h"
#include "world/tile_codes.h"

namespace {

// The explosive tile's first animation image, as the playfield shows it.
constexpr int kExplosiveImage = 0xDC;

// The image a stored code shows in the overview: the first animation frame for
// animated cells, nothing for codes without an image.
SDL_Surface* ImageOf(uint32_t code)
{
    if (code == tile::WaterSurfaceA || code == tile::WaterSurfaceB)
        return waterFrames[0][code - tile::WaterSurfaceA];
    if (code == tile::Explosive)
        return tileImages[kExplosiveImage];
    return code < static_cast<uint32_t>(kTileCodeCount) ? tileImages[code] : nullptr;
}

} // namespace

bool SaveStageOverview(const uint8_t* map, size_t size, const char* path)
{
    if (size < kMapHeaderSize)
        return false;
    const int columns = MapColumns(map);
    if (size < kMapHeaderSize + static_cast<size_t>(columns) * kRows)
        return false;
    SDL_Surface* picture = CreateSurface(columns * kCellSize, kStageHeight, false);
    if (!picture)
        return false;
    if (BackImage) {
        for (int x = 0; x < picture->w; x += BackImage->w)
            BlitAt(BackImage, x, 0, picture);
    }
    const uint8_t* cells = map + kMapHeaderSize;
    // Recesses under a ceiling, as the playfield draws them over the background.
    const std::vector<TileCode> grid(cells, cells + static_cast<size_t>(columns) * kRows);
    std::vector<TileCode> walls;
    FindRecesses(grid.data(), columns, walls);
    for (int i = 0; i < columns * kRows; ++i) {
        if (walls[i] == tile::None)
            continue;
        BlitAt(tileImages[walls[i]], (i / kRows) * kCellSize, (i % kRows) * kCellSize, picture);
        ShadeCell(picture, (i / kRows) * kCellSize, (i % kRows) * kCellSize,
                  UnderRecessLintel(grid.data(), columns, walls, i / kRows, i % kRows));
    }
    for (int layer = 0; layer <= 1; ++layer) {
        for (int i = 0; i < columns * kRows; ++i) {
            const uint32_t code = cells[i];
            if (code == tile::None || code >= static_cast<uint32_t>(kTileCodeCount) || kTileLayer[code] != layer)
                continue;
            const int x = (i / kRows) * kCellSize;
            const int y = (i % kRows) * kCellSize;
            // An acid fish swims in the water its cell turns into.
            if (code == tile::AcidFishSpawn)
                BlitAt(tileImages[tile::Water], x, y, picture);
            if (SDL_Surface* image = ImageOf(code))
                BlitAt(image, x, y, picture);
        }
    }
    const bool saved = SDL_SaveBMP(picture, path) == 0;
    FreeSurface(picture);
    return saved;
}
