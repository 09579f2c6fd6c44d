// The forward-only camera and the column reveal that wakes up the enemies.
#include "world/camera.h"

#include "world/actors.h"
#include "world/level_map.h"
#include "world/world_state.h"

namespace {
// The column one cell beyond the right edge of the view is revealed.
constexpr int kRevealOffset = kScreenWidth + kCellSize;
} // namespace

void ScrollView(int n)
{
    for (int i = 0; i < n; ++i) {
        // Stops one pixel short of showing the last pixel column of the stage.
        if (world.cameraX + kScreenWidth < levelMap.columns * kCellSize - 1)
            world.cameraX += 1;
        RevealColumn(world.cameraX + kRevealOffset);
    }
}

void RevealColumn(int px)
{
    if (px < 0 || px >= levelMap.columns * kCellSize)
        return;
    const int c = px >> kCellShift;
    for (int r = 0; r < kRows; ++r) {
        const int y = r * kCellSize;
        // The code is converted even when every actor slot is taken; that actor is lost.
        switch (TileAtPixel(px, y)) {
        case tile::AcidFishSpawn:
            SpawnActor(px, y, ActorAcidFish);
            SetTile(c, r, tile::Water);
            break;
        case tile::BeetleSpawn:
            SpawnActor(px, y, ActorBeetle);
            SetTile(c, r, tile::None);
            break;
        case tile::WingedEyeSpawn:
            SpawnActor(px, y, ActorWingedEye);
            SetTile(c, r, tile::None);
            break;
        case tile::MaskySpawn:
            SpawnActor(px, y, ActorMasky);
            SetTile(c, r, tile::None);
            break;
        case tile::Spikes:
            SetTile(c, r, tile::HiddenSpikes);
            break;
        case tile::SkullSpawnA:
        case tile::SkullSpawnB:
            SpawnActor(px, y, ActorSkull);
            SetTile(c, r, tile::None);
            break;
        default:
            break;
        }
    }
}
