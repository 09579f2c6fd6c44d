// What the stage checker knows about the tile set: themes, markers, mechanics and the look of each code.
#pragma once

#include <cstdint>
#include <string>

// The five themes of the tile set, in the order the stage table names them.
enum Theme { Grassland, Temple, Cave, Ice, Castle, ThemeCount };
// The table's name of a theme.
const char* ThemeName(int theme);
// The theme a code belongs to, or -1 for shared pieces and empty cells.
int ThemeOf(uint8_t code);

// The mechanics a stage can introduce, in the order they are listed.
enum Mechanic {
    MechRings,
    MechExtraLife,
    MechBonus,
    MechCheckpoint,
    MechLift,
    MechCrushingLift,
    MechPushable,
    MechBrick,
    MechBump,
    MechCrumble,
    MechGate,
    MechSpikes,
    MechHiddenSpikes,
    MechExplosive,
    MechWater,
    MechMasky,
    MechBeetle,
    MechWingedEye,
    MechAcidFish,
    MechSkull,
    MechanicCount
};
// The table's name of a mechanic.
const char* MechanicName(int mechanic);
// The mechanic a placed code stands for, or -1 (crushing lifts are found from the map, not a code).
int MechanicOf(uint8_t code);

// Enemy kind (MechMasky..MechSkull) of a spawn marker, or -1.
int EnemyOf(uint8_t code);

// True for the hero's start markers (stageNumber 0 is the title, where 0x18 is scenery).
bool IsStartMarker(uint8_t code, int stageNumber);

// True for water cells, counting an acid fish's cell, which turns into water.
bool IsWater(uint8_t code);
// True for the animated or still surface of a pool.
bool IsWaterSurface(uint8_t code);

// True when the cell blocks the hero (solid or pushable; hazards do not).
bool IsSolidCode(uint8_t code);
// True for thin platforms and ledges, which must not hang right above water.
bool IsLedge(uint8_t code);

// Sides of a cell.
enum Side { SideNone = 0, SideTop = 1, SideBottom = 2, SideLeft = 4, SideRight = 8 };
// For a back wall: 0 for a plain one, else the side its finished edge is on; -1 when the code is no back wall.
int BackWallEdge(uint8_t code);
// True when a cell shows the sky behind it during play: empty, mostly transparent, or a tile that
// disappears or moves (rings, bricks, crates, markers).
bool ShowsSky(uint8_t code);
// For the end pieces of grass, beams and ice platforms: the side that must stay open, else SideNone.
int OpenSideOf(uint8_t code);

// True for pieces whose cell empties during play (pick-ups, enemy and hero starts, crates,
// bricks, crumbling floors, lifts): once gone, the cell shows the background.
bool Vanishes(uint8_t code, int stageNumber);
// True for grass-topped ground, whose picture needs open air above it.
bool IsGrassTop(uint8_t code);
// True for plain earth, the body under grass that must not face the sky.
bool IsBareEarth(uint8_t code);
// True for codes that kill on touch as placed in a map (spikes, explosives).
bool IsHazardCode(uint8_t code);
// True for decoration: front pieces, background scenery, wall-backed pieces and decorated blocks.
bool IsDecoration(uint8_t code);
// Where a piece sits in a column or pillar (the temple's solid and front pillars, the castle's
// columns), read from top to bottom; NotColumn for every other code.
enum class ColumnPart { NotColumn, Top, Shaft, Base };
ColumnPart ColumnPartOf(uint8_t code);

// What a piece of scenery must rest on to look held up.
enum class Support {
    Stands,  // plants, fences, rocks, posts, columns: firm ground right below
    Hangs,   // stalactites, roots, icicles, vines, chains, banners: a firm cell right above
    OnWall,  // torches: a wall beside it, left or right
    InWall,  // windows and window bars: walls on both sides, left and right or above and below
    InCorner // cobwebs, spun from the top right corner: a wall above or to the right
};
// A piece of scenery that needs something to rest on. Pieces that make up one tall piece (a
// pine, a column, a hanging vine, a chain) share a group above 0 and may rest on (or hang from)
// another piece of their group in the direction they need.
struct SceneryPiece {
    uint8_t code;
    Support support;
    int group;        // 0 for single pieces
    uint8_t restsOn;  // the only piece it may hang from (a banner's bottom from its top), or 0
    bool fromTopEdge; // the top edge of the stage may hold it (chains and vines run on out of view)
    const char* name; // a few words for reports ("a bush")
};
// The scenery record of a code, or nullptr for a code that needs nothing to rest on.
const SceneryPiece* FindScenery(uint8_t code);

// True when a map may hold the code: it has a picture and is not a frame the game writes itself
// (animation frames, closed doors, taken pick-ups, sprites of moving enemies).
bool IsPlaceable(uint8_t code);
