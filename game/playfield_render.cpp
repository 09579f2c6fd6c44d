// The playfield renderer: parallax background, HUD bars, the grid layers, lifts, actors, effects, hero, texts.
#include "game/playfield_render.h"

#include <vector>

#include "assets/front_end_images.h"
#include "game/back_wall_recess.h"
#include "core/messages.h"
#include "core/stages.h"
#include "game/game_state.h"
#include "game/screen_layout.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// HUD bars: label at x 4, bar from x 64, 248 pixels long and 5 high.
constexpr int kBarLabelX = 4;
constexpr int kBarX = 64;
constexpr int kBarLength = 248;
constexpr int kBarHeight = 5;
constexpr int kHurryLabelY = 196;
constexpr int kHurryBarY = 198;
constexpr int kOxygenLabelY = 206;
constexpr int kOxygenBarY = 208;

// HUD strip row (big font and 16-pixel icons) and its columns.
constexpr int kHudY = 216;
constexpr int kLivesIconX = 16;
constexpr int kTimesX = 40;
constexpr int kLivesX = 64;
constexpr int kScoreIconX = 104;
constexpr int kScoreX = 124;
constexpr int kRingIconX = 196;
constexpr int kRingsX = 216;
constexpr int kCheckIconX = 256;
constexpr int kStageX = 276;

// Overlay texts.
constexpr int kHintY = 120;

// Tile animations advance every eight frames: four water-surface phases, and
// the explosive tile cycling through three images from 0xDC.
constexpr int kFramesPerAnimationStep = 8;
constexpr int kFramesPerAnimationShift = 3;
static_assert(1 << kFramesPerAnimationShift == kFramesPerAnimationStep);
constexpr int kWaterPhases = 4;
constexpr int kExplosiveFirstImage = 0xDC;
constexpr int kExplosiveImages = 3;

// Sprite codes of the moving things.
constexpr int kMaskyWalk[4] = {0x09, 0x0A, 0x0B, 0x0A};
constexpr int kMaskyStomped = 0x0C;
constexpr int kMaskySolidFrames = 64; // a stomped MASKY blinks after this
constexpr int kBeetleBase = 0x0E;
constexpr int kWingedEyeFly[4] = {0x21, 0x39, 0x22, 0x39};
constexpr int kWingedEyeFall = 0x23;
constexpr int kAcidFishBase = 0x36;
constexpr int kSkullRight = 0x79;
constexpr int kSkullLeft = 0x90;
constexpr int kSkullDown = 0x7D;
constexpr int kSkullRising = 0x7E;
constexpr int kSkullRiseTime = 186;

// Images of the explosion and of the hero's death effects, by kind and counter.
constexpr int kExplosionImages[8] = {223, 224, 225, 226, 227, 228, 229, 230};
struct DeathAnimation {
    int images[8];
    int shift; // counter >> shift picks the image
};
constexpr DeathAnimation kDeathAnimations[7] = {
    {{24, 24, 24, 184, 185, 186, 187, 186}, 3},    // 14 gives up
    {{188, 189, 190, 191, 0, 0, 0, 0}, 2},         // 15 crushed
    {{192, 193, 194, 195, 214, 214, 215, 215}, 3}, // 16 drowns
    {{196, 197, 198, 199, 0, 0, 0, 0}, 3},         // 17 beetle, skull
    {{204, 205, 206, 207, 0, 0, 0, 0}, 3},         // 18 masky, winged eye
    {{208, 209, 210, 211, 0, 0, 0, 0}, 3},         // 19 spikes, acid fish
    {{212, 213, 214, 215, 0, 0, 0, 0}, 4},         // 20 drowned, lasting: four images in a loop
};
constexpr int kDrownedLoopImages = 4;

// The background repeats to the right and scrolls at half the camera's speed.
void DrawBackground()
{
    const int width = SurfaceWidth(BackImage);
    if (width <= 0) {
        FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
        return;
    }
    // The camera of a stage narrower than the view stands left of the stage
    // (negative): the source column is still taken in 0..width-1.
    int sourceColumn = (world.cameraX >> 1) % width;
    if (sourceColumn < 0)
        sourceColumn += width;
    // Blitting the first copy left of the screen edge shows exactly its remaining columns.
    for (int x = -sourceColumn; x < kScreenWidth; x += width)
        BlitAt(BackImage, x, 0, screenSurface);
    FillRect(screenSurface, 0, kStageHeight, kScreenWidth, kScreenHeight - kStageHeight, ColorBlack);
}

// Under a ceiling, sockets, niches and emptied item cells show the wall they are set in, darkened
// into a recess, rather than the night sky. Found again only when the grid has changed (a ring
// taken, a brick broken, a crate moved, a new attempt), not on every frame.
void DrawRecesses()
{
    static std::vector<TileCode> walls, foundFor;
    if (foundFor != levelMap.live) {
        FindRecesses(levelMap.live.data(), levelMap.columns, walls);
        foundFor = levelMap.live;
    }
    const int firstColumn = world.cameraX >> kCellShift;
    for (int c = 0; c < kViewColumns; ++c) {
        const int column = firstColumn + c;
        if (column < 0 || column >= levelMap.columns)
            continue;
        const int x = column * kCellSize - world.cameraX;
        for (int row = 0; row < kRows; ++row) {
            const TileCode wall = walls[column * kRows + row];
            if (wall == tile::None || !InClippedWindow(x, row * kCellSize))
                continue;
            DrawTileAt(static_cast<int>(wall), x, row * kCellSize);
            ShadeCell(screenSurface, x, row * kCellSize,
                      UnderRecessLintel(levelMap.live.data(), levelMap.columns, walls, column, row));
        }
    }
}

void DrawBar(int labelY, int text, int barY, int filled, uint32_t full, uint32_t used)
{
    DrawText(screenSurface, GetText(text), kBarLabelX, labelY, smallFont);
    FillRect(screenSurface, kBarX, barY, filled, kBarHeight, full);
    FillRect(screenSurface, kBarX + filled, barY, kBarLength - filled, kBarHeight, used);
}

// The hurry and oxygen bars.
void DrawBars()
{
    DrawBar(kHurryLabelY, TXT_HURRY, kHurryBarY, world.hurryTimer * kBarLength / kHurryFrames, ColorRed, ColorDarkRed);
    const int oxygen = world.oxygen < 0 ? 0 : world.oxygen;
    DrawBar(kOxygenLabelY, TXT_OXYGEN, kOxygenBarY, oxygen * kBarLength / kOxygenFull, ColorBlue, ColorDarkBlue);
}

// Animation step of a frame counter, never negative.
int AnimationStep(int frame, int steps)
{
    const int s = (frame / kFramesPerAnimationStep) % steps;
    return s < 0 ? s + steps : s;
}

// Water phase of a frame counter: the frame shifted down by eight frames, low two bits, so the
// picture-only frame -1 (behind the name entry) shows the last phase.
int WaterPhase(int frame)
{
    return (frame >> kFramesPerAnimationShift) & (kWaterPhases - 1);
}

// The visible cells of one draw layer; the water surface and the explosive tile are animated.
void DrawLayer(int frame, int layer)
{
    const int firstColumn = world.cameraX >> kCellShift; // rounds down, also left of the stage
    for (int c = 0; c < kViewColumns; ++c) {
        const int column = firstColumn + c;
        if (column < 0 || column >= levelMap.columns)
            continue;
        const int x = column * kCellSize;
        for (int row = 0; row < kRows; ++row) {
            const TileCode code = levelMap.live[column * kRows + row];
            if (code == tile::None || code >= BusyCell || kTileLayer[code] != layer)
                continue;
            const int y = row * kCellSize;
            if (code == tile::WaterSurfaceA || code == tile::WaterSurfaceB) {
                if (InClippedWindow(x - world.cameraX, y))
                    DrawWaterTile(WaterPhase(frame), code - tile::WaterSurfaceA, x - world.cameraX, y);
            } else if (code == tile::Explosive) {
                DrawTileClipped(world.cameraX, x, y, kExplosiveFirstImage + AnimationStep(frame, kExplosiveImages));
            } else {
                DrawTileClipped(world.cameraX, x, y, static_cast<int>(code));
            }
        }
    }
}

// The actors, each with the sprite its type and timer show.
void DrawActors()
{
    for (int i = 0; i < kActorSlots; ++i) {
        const int code = ActorSpriteCode(i);
        if (code >= 0)
            DrawTileLoose(world.cameraX, actors[i].x, actors[i].y, code);
    }
}

// A moving block: what lies under both of its cells, then the block between them.
void DrawMovingBlock(const TileEffect& e)
{
    int dc = 0, dr = 0, dx = 0, dy = 0;
    const int step = 4 * e.t; // the block covers a cell in four frames
    if (e.kind == EffectPushRight) {
        dc = 1;
        dx = step;
    } else if (e.kind == EffectPushLeft) {
        dc = -1;
        dx = -step;
    } else {
        dr = 1;
        dy = step;
    }
    const int cells[2][2] = {{e.x, e.y}, {e.x + dc, e.y + dr}};
    for (const auto& cell : cells) {
        // A block falling out of the bottom row has no destination cell to show.
        if (cell[1] >= kRows)
            continue;
        const TileCode under = RestoreAt(cell[0], cell[1]);
        if (under != tile::PushBlock)
            DrawTileAt(static_cast<int>(under), cell[0] * kCellSize - world.cameraX, cell[1] * kCellSize);
    }
    DrawTileAt(tile::PushBlock, e.x * kCellSize + dx - world.cameraX, e.y * kCellSize + dy);
}

// Moving blocks, the explosion and the hero's death animations.
void DrawEffects()
{
    for (const TileEffect& e : tileEffects) {
        if (!e.active)
            continue;
        if (e.kind == EffectPushRight || e.kind == EffectPushLeft || e.kind == EffectFall) {
            DrawMovingBlock(e);
        } else if (e.kind == EffectExplosion) {
            const int index = (e.t >> 2) & 7;
            DrawTileAt(kExplosionImages[index], e.x * kCellSize - world.cameraX, e.y * kCellSize);
        } else if (e.kind >= EffectSuicide && e.kind <= EffectDrowned) {
            const DeathAnimation& a = kDeathAnimations[e.kind - EffectSuicide];
            int index = e.t >> a.shift;
            index = e.kind == EffectDrowned ? index % kDrownedLoopImages : index & 7;
            DrawTileAt(a.images[index], e.x - world.cameraX, e.y);
        }
    }
}

// The HUD strip: lives, score, rings left with the door icon, stage number.
void DrawHud()
{
    DrawTileAt(tile::HeroIdle, kLivesIconX, kHudY);
    DrawText(screenSurface, "X", kTimesX, kHudY, bigFont);
    DrawNumber(screenSurface, world.lives, kLivesX, kHudY, 2, true, bigFont);
    DrawTileAt(tile::ScoreIcon, kScoreIconX, kHudY);
    DrawNumber(screenSurface, world.score, kScoreX, kHudY, 4, true, bigFont);
    DrawTileAt(tile::Ring, kRingIconX, kHudY);
    DrawNumber(screenSurface, world.ringsLeft, kRingsX, kHudY, 2, true, bigFont);
    const int check = world.ringsLeft >= 2   ? tile::Checkpoint
                      : world.ringsLeft == 1 ? tile::CheckpointHalf
                                             : tile::CheckpointTaken;
    DrawTileAt(check, kCheckIconX, kHudY);
    DrawNumber(screenSurface, game.stage, kStageX, kHudY, 2, true, bigFont);
}

// Dimming and the centred texts: a death message, the intro call, the closed-door hint (the pause
// menu and the quit question draw their own over the dimmed stage).
void DrawOverlayTexts(int frame, const Player& p)
{
    const bool hasMessage = world.statusMessage[0] != '\0';
    const bool plainlyGone = !p.active || (p.dead && p.deathEffect == 0);
    if ((world.lives > 0 && plainlyGone && hasMessage) || frame <= kIntroLastFrame || game.paused)
        DimScreen();
    // A quit asked for while paused: the quit question goes over the stage
    // alone, without the pause menu under it.
    if (game.quitPending || game.paused)
        return;
    if ((frame & kBlinkBit) == 0) {
        if (world.lives > 0 && (!p.active || p.dead) && hasMessage)
            DrawTextCentred(screenSurface, world.statusMessage, kMessageY, bigFont);
        else if (frame <= kIntroLastFrame)
            DrawTextCentred(screenSurface, GetText(TXT_RUN), kMessageY, bigFont);
    }
    if (p.atClosedDoor && p.active && !p.dead) {
        DrawTextCentred(screenSurface, GetText(TXT_FORGOT_RINGS), kMessageY, bigFont);
        DrawTextCentred(screenSurface, GetText(TXT_PAUSE_AND_SUICIDE), kHintY, smallFont);
    }
}

} // namespace

int ActorSpriteCode(int slot)
{
    const Actor& a = actors[slot];
    if (!a.active)
        return -1;
    switch (a.type) {
    case ActorMasky:
        if (a.dx != 0)
            return kMaskyWalk[(a.timer / 6) & 3];
        return (a.timer < kMaskySolidFrames || (a.timer & 8) != 0) ? kMaskyStomped : -1;
    case ActorBeetle:
        return a.dx + kBeetleBase + ((a.timer & 15) >> 3);
    case ActorWingedEye:
        return kWingedEyeFly[(a.timer / 6) & 3];
    case ActorWingedEyeStomped:
        return kWingedEyeFall + a.timer / 4;
    case ActorAcidFish:
        return kAcidFishBase + a.dx + ((a.timer / 15) & 1);
    case ActorSkull:
        if (a.dx > 0)
            return kSkullRight + ((a.timer & 15) >> 2);
        if (a.dx < 0)
            return kSkullLeft - ((a.timer & 15) >> 2);
        return a.timer < kSkullRiseTime ? kSkullDown : kSkullRising;
    default:
        return -1;
    }
}

void DrawPlayfield(int frame, const Player& player)
{
    if (frameClock.skipDraw)
        return;
    DrawBackground();
    DrawRecesses();
    if (game.stage > 0)
        DrawBars();
    DrawLayer(frame, 0);
    for (int i = 0; i < liftCount; ++i)
        DrawTileLoose(world.cameraX, lifts[i].x, lifts[i].y, tile::Lift);
    DrawActors();
    DrawEffects();
    if (frame > kIntroLastFrame && player.active && player.deathEffect == 0)
        DrawTileLoose(world.cameraX, player.x, player.y, player.frame);
    DrawLayer(frame, 1);
    if (game.stage != kTitleStage) {
        DrawHud();
        if (frame >= 0)
            DrawOverlayTexts(frame, player);
    }
}

void PresentFrame()
{
    if (!frameClock.skipDraw)
        PresentScreen();
    WaitFrame();
}
