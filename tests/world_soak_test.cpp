// Random stages and random controls: the world keeps its invariants whatever the map holds.
#include <random>

#include "world_test_stage.h"

namespace {

class WorldSoak : public WorldStage {};

// Codes with a rule of their own, weighted toward an open stage.
constexpr TileCode kInteresting[] = {0,    0,    0,    0,    0x15, 0x19, 0x19, 0x29, 0x8C, 0x57, 0x56,
                                     0x58, 0x16, 0x14, 0x28, 0x11, 0x1A, 0x89, 0x09, 0x0D, 0x21, 0x35,
                                     0x43, 0x79, 0x30, 0x3B, 0x55, 0xF0, 0xFF, 0xEF};

bool IsKnownKind(int kind) { return kind >= EffectBrick && kind <= EffectDrowned && kind != 3 && kind != 9; }

TEST_F(WorldSoak, RandomStagesKeepEveryInvariant) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 150; ++round) {
        const int columns = 1 + static_cast<int>(rng() % 40);
        MakeStage(columns);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < kRows; ++r)
                SetTile(c, r, rng() % 4 == 0 ? rng() % 256 : kInteresting[rng() % std::size(kInteresting)]);
        for (int i = static_cast<int>(rng() % 5); i > 0; --i)
            AddLift(static_cast<int>(rng() % columns) * 16, static_cast<int>(rng() % kRows) * 16);
        world.doorCell = static_cast<int>(rng() % (columns * kRows + 2)) - 1;
        world.ringsLeft = static_cast<int>(rng() % 3);
        world.score = static_cast<int>(rng() % 10000);
        world.lives = static_cast<int>(rng() % 100);
        world.cameraX = -kScreenWidth;
        ScrollView(kScreenWidth);
        PlaceHero(static_cast<int>(rng() % columns) * 16, static_cast<int>(rng() % 220) - 20);
        int camera = world.cameraX;
        for (int f = 0; f < 400; ++f) {
            const int dir = static_cast<int>(rng() % 3);
            Hold(dir == 1, dir == 2, rng() % 4 == 0, rng() % 8 == 0);
            Frame();
            ASSERT_EQ(levelMap.live.size(), static_cast<size_t>(columns * kRows));
            ASSERT_EQ(levelMap.restore.size(), static_cast<size_t>(columns * kRows));
            for (TileCode code : levelMap.restore) ASSERT_NE(code, BusyCell);
            ASSERT_GE(world.score, 0);
            ASSERT_LE(world.score, kMaxScore);
            ASSERT_LE(world.lives, kMaxLives);
            ASSERT_GE(world.pushCounter, 0);
            ASSERT_LT(world.pushCounter, kPushFrames);
            ASSERT_GE(world.cameraX, camera); // the camera only moves forward
            camera = world.cameraX;
            for (int i = 0; i < liftCount; ++i) {
                ASSERT_GE(lifts[i].y, 0);
                ASSERT_LE(lifts[i].y, kStageHeight - kCellSize);
            }
            for (const TileEffect& e : tileEffects) {
                ASSERT_TRUE(!e.active || IsKnownKind(e.kind)) << e.kind;
            }
            for (const Actor& a : actors) {
                ASSERT_TRUE(!a.active || (a.type >= ActorMasky && a.type <= ActorSkull)) << a.type;
            }
        }
    }
}

} // namespace
