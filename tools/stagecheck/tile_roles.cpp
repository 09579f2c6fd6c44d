// The tile set as the stage checker sees it; these tables follow content/gfx/TILES.md.
#include "tile_roles.h"

#include "game/back_wall_recess.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool In(uint8_t code, std::initializer_list<int> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool Between(uint8_t code, int first, int last)
{
    return code >= first && code <= last;
}

} // namespace

const char* ThemeName(int theme)
{
    static const char* const kNames[ThemeCount] = {"grassland", "temple", "cave", "ice", "castle"};
    return theme >= 0 && theme < ThemeCount ? kNames[theme] : "";
}

int ThemeOf(uint8_t code)
{
    if (In(code, {0x15, 0x17, 0x2B, 0x2C, 0x3F, 0x40, 0x51, 0x52, 0x53, 0x54}))
        return Grassland;
    if (Between(code, 0x4D, 0x4F) || Between(code, 0x5C, 0x63) || Between(code, 0xE7, 0xEA) ||
        In(code, {0x31, 0x9F, 0xB2}))
        return Temple;
    if (Between(code, 0x65, 0x68) || Between(code, 0x6E, 0x77) || Between(code, 0xD8, 0xDB) ||
        In(code, {0x2E, 0xAD, 0xAE, 0x4C, 0x5A, 0x5B}))
        return Cave;
    if (Between(code, 0x6A, 0x6D) || Between(code, 0x7F, 0x88) || Between(code, 0xEB, 0xEE) || In(code, {0x32, 0xB3}))
        return Ice;
    if (Between(code, 0x93, 0x9E) || Between(code, 0xAA, 0xAC) || Between(code, 0xAF, 0xB1) ||
        Between(code, 0x48, 0x4B) || In(code, {0x2D, 0xA7, 0xA8, 0xA9, 0x8B, 0xEF}))
        return Castle;
    return -1;
}

const char* MechanicName(int mechanic)
{
    static const char* const kNames[MechanicCount] = {
        "rings and door", "extra life", "bonus",           "checkpoint", "lift",     "crushing lift", "pushable block",
        "brick",          "bump block", "crumbling floor", "gate",       "spikes",   "hidden spikes", "explosive",
        "water",          "MASKY",      "BEETLE",          "WINGEDEYE",  "ACIDFISH", "SKULL"};
    return mechanic >= 0 && mechanic < MechanicCount ? kNames[mechanic] : "";
}

int MechanicOf(uint8_t code)
{
    switch (code) {
    case 0x29:
        return MechRings;
    case 0x1A:
        return MechExtraLife;
    case 0x89:
        return MechBonus;
    case 0x11:
        return MechCheckpoint;
    case 0x42:
        return MechLift;
    case 0x19:
        return MechPushable;
    case 0x28:
        return MechBrick;
    case 0x14:
        return MechBump;
    case 0x16:
        return MechCrumble;
    case 0x58:
        return MechGate;
    case 0x69:
        return MechSpikes;
    case 0x57:
        return MechHiddenSpikes;
    case 0x8C:
        return MechExplosive;
    default:
        break;
    }
    if (IsWater(code))
        return EnemyOf(code) >= 0 ? EnemyOf(code) : MechWater;
    return EnemyOf(code);
}

int EnemyOf(uint8_t code)
{
    switch (code) {
    case 0x09:
        return MechMasky;
    case 0x0D:
        return MechBeetle;
    case 0x21:
        return MechWingedEye;
    case 0x35:
        return MechAcidFish;
    case 0x43:
    case 0x79:
        return MechSkull;
    default:
        return -1;
    }
}

bool IsStartMarker(uint8_t code, int stageNumber)
{
    return Between(code, 0x01, 0x08) || code == 0x41 || code == 0x44 || (code == 0x18 && stageNumber > 0);
}

bool IsWater(uint8_t code)
{
    return code == 0x55 || code == 0x91 || code == 0x92 || code == 0x35 || Between(code, 0xA0, 0xA6);
}

bool IsWaterSurface(uint8_t code)
{
    return Between(code, 0xA0, 0xA2);
}

bool IsSolidCode(uint8_t code)
{
    // The world's Solid codes, the pushable block and anything from the busy cell up.
    return Between(code, 0x14, 0x17) || code == 0x19 || code == 0x28 || Between(code, 0x2B, 0x2C) ||
           Between(code, 0x3F, 0x40) || code == 0x42 || code == 0x45 || Between(code, 0x4D, 0x50) ||
           Between(code, 0x5C, 0x5D) || Between(code, 0x5F, 0x60) || code == 0x64 || Between(code, 0x6E, 0x71) ||
           Between(code, 0x73, 0x74) || code == 0x78 || Between(code, 0x82, 0x88) || Between(code, 0x96, 0x9A) ||
           Between(code, 0xAA, 0xAC) || Between(code, 0xB4, 0xB5) || code >= 0xF0;
}

ColumnPart ColumnPartOf(uint8_t code)
{
    if (In(code, {0x5C, 0x61, 0xAF}))
        return ColumnPart::Top;
    if (In(code, {0x5D, 0x62, 0xB0}))
        return ColumnPart::Shaft;
    if (In(code, {0x5F, 0x63, 0xB1}))
        return ColumnPart::Base;
    return ColumnPart::NotColumn;
}

bool IsLedge(uint8_t code)
{
    return In(code, {0x16, 0x4F, 0x70, 0x73, 0x85, 0x86, 0x87, 0xAA, 0xAB, 0xAC, 0x2B, 0x2C});
}

int BackWallEdge(uint8_t code)
{
    if (BackWallOf(code) == tile::None)
        return -1;
    switch (code) {
    case 0x48:
    case 0xD8:
    case 0xE7:
    case 0xEB:
        return SideTop;
    case 0x49:
    case 0xD9:
    case 0xE8:
    case 0xEC:
        return SideBottom;
    case 0x4A:
    case 0xDA:
    case 0xE9:
    case 0xED:
        return SideLeft;
    case 0x4B:
    case 0xDB:
    case 0xEA:
    case 0xEE:
        return SideRight;
    default:
        return SideNone; // a plain wall or a decoration painted on one
    }
}

bool ShowsSky(uint8_t code)
{
    // Pictures that cover (nearly) the whole cell; everything else lets the background through.
    static const std::initializer_list<int>
        kCovering =
            {
                0x14, 0x15, 0x17, 0x1B, 0x1C, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x3F, 0x40,
                0x45, 0x48, 0x49, 0x4A, 0x4B, 0x4D, 0x4E, 0x55, 0x60, 0x69, 0x6E, 0x6F, 0x71, 0x74, 0x82,
                0x83, 0x84, 0x88, 0x8C, 0x91, 0x92, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9E, 0x9F, 0xA3, 0xA4,
                0xA5, 0xA6, 0xA9, 0xAD, 0xAE, 0xB2, 0xB3, 0xD8, 0xD9, 0xDA, 0xDB, 0xE7, 0xE8, 0xE9, 0xEA,
                0xEB, 0xEC, 0xED, 0xEE, 0x4C, 0x5A, 0x5B, 0x8B, 0xEF, 0x35}; // an acid fish's cell turns into water
    return !In(code, kCovering);
}

int OpenSideOf(uint8_t code)
{
    switch (code) {
    case 0x2B:
    case 0xAA:
    case 0x85:
        return SideLeft;
    case 0x2C:
    case 0xAC:
    case 0x87:
        return SideRight;
    default:
        return SideNone;
    }
}

bool IsPlaceable(uint8_t code)
{
    if (code >= 0xF0)
        return false; // no picture
    return !(In(code, {0x0A, 0x0B, 0x0C, 0x0E, 0x0F, 0x10, 0x12, 0x13, 0x26, 0x27, 0x2A, 0x3A, 0x3B, 0x50, 0x56, 0x59,
                       0x64, 0x78, 0x8A}) ||
             Between(code, 0x22, 0x25) || Between(code, 0x36, 0x39) || Between(code, 0x7A, 0x7E) ||
             Between(code, 0x8D, 0x90) || Between(code, 0xB4, 0xD7) || Between(code, 0xDC, 0xE6));
}

bool Vanishes(uint8_t code, int stageNumber)
{
    return In(code, {0x29, 0x1A, 0x89, 0x19, 0x28, 0x16, 0x42}) || (EnemyOf(code) >= 0 && code != 0x35) ||
           IsStartMarker(code, stageNumber);
}

bool IsGrassTop(uint8_t code)
{
    return In(code, {0x15, 0x2B, 0x2C});
}

bool IsBareEarth(uint8_t code)
{
    return In(code, {0x17, 0x3F, 0x40});
}

bool IsHazardCode(uint8_t code)
{
    return In(code, {0x57, 0x69, 0x8C});
}

bool IsDecoration(uint8_t code)
{
    // Front pieces (drawn over the hero), background scenery, wall-backed scenery, decorated blocks.
    return Between(code, 0x51, 0x54) || code == 0x5E || Between(code, 0x61, 0x63) || Between(code, 0x65, 0x68) ||
           Between(code, 0x6A, 0x6D) || code == 0x72 || Between(code, 0x75, 0x77) || Between(code, 0x7F, 0x81) ||
           Between(code, 0x93, 0x95) || Between(code, 0x9B, 0x9D) || Between(code, 0xA7, 0xA8) ||
           Between(code, 0xAF, 0xB1) || Between(code, 0x1D, 0x20) ||
           In(code, {0x33, 0x34, 0x3C, 0x3D, 0x46, 0x47, 0x9E, 0x9F, 0xA9, 0xAD, 0xAE,
                     0xB2, 0xB3, 0x4C, 0x5A, 0x5B, 0x8B, 0xEF, 0x71, 0x9A, 0x4E});
}

namespace {

// Groups of tall pieces.
enum { Single, TemplePillar, Pine, CastleColumn, Vine, Chain };

// Every piece of scenery that needs something to rest on; the rest needs nothing (the other
// wall-backed pieces, a torch, window, vine, chain or cobweb painted on the wall, hold on to it).
constexpr SceneryPiece kScenery[] = {
    {0x1D, Support::Stands, Single, 0, false, "a signpost"},
    {0x20, Support::Stands, Single, 0, false, "a young tree"},
    {0x34, Support::Stands, Single, 0, false, "mushrooms"},
    {0x3D, Support::Stands, Single, 0, false, "a small rock"},
    {0x3E, Support::Stands, Single, 0, false, "a danger sign"},
    {0x46, Support::Stands, Single, 0, false, "tall grass"},
    {0x51, Support::Stands, Single, 0, false, "a grass tuft"},
    {0x52, Support::Stands, Single, 0, false, "flowers"},
    {0x53, Support::Stands, Single, 0, false, "a bush"},
    {0x54, Support::Stands, Single, 0, false, "a fence"},
    {0x61, Support::Stands, TemplePillar, 0, false, "a pillar's top"},
    {0x62, Support::Stands, TemplePillar, 0, false, "a pillar's shaft"},
    {0x63, Support::Stands, TemplePillar, 0, false, "a pillar's base"},
    {0x66, Support::Stands, Single, 0, false, "a stalagmite"},
    {0x67, Support::Stands, Single, 0, false, "a crystal cluster"},
    {0x6A, Support::Stands, Single, 0, false, "a snowy fence"},
    {0x6B, Support::Stands, Pine, 0, false, "a pine's top"},
    {0x6C, Support::Stands, Pine, 0, false, "a pine's trunk"},
    {0x6D, Support::Stands, Single, 0, false, "a street lantern"},
    {0x75, Support::Stands, Single, 0, false, "glowing mushrooms"},
    {0x76, Support::Stands, Single, 0, false, "old bones"},
    {0x80, Support::Stands, Single, 0, false, "a snow drift"},
    {0x81, Support::Stands, Single, 0, false, "a frozen bush"},
    {0xA7, Support::Stands, Single, 0, false, "an iron fence"},
    {0xA8, Support::Stands, Single, 0, false, "an iron fence's end"},
    {0xAF, Support::Stands, CastleColumn, 0, false, "a column's top"},
    {0xB0, Support::Stands, CastleColumn, 0, false, "a column's shaft"},
    {0xB1, Support::Stands, CastleColumn, 0, false, "a column's base"},
    // Wall-backed pieces whose picture grows from the cell's floor or ceiling.
    {0x4C, Support::Stands, Single, 0, false, "the cave wall with crystals"},
    {0x5B, Support::Stands, Single, 0, false, "the cave wall with bones"},
    {0xAD, Support::Stands, Single, 0, false, "the cave wall with mushrooms"},
    {0x5A, Support::Hangs, Single, 0, false, "the cave wall with roots"},
    {0x3C, Support::Hangs, Vine, 0, true, "a hanging vine"},
    {0x5E, Support::Hangs, Vine, 0, true, "hanging vines"},
    {0x65, Support::Hangs, Single, 0, false, "a stalactite"},
    {0x68, Support::Hangs, Single, 0, false, "hanging roots"},
    {0x72, Support::Hangs, Single, 0, false, "a rock arch"},
    {0x7F, Support::Hangs, Single, 0, false, "icicles"},
    {0x93, Support::Hangs, Chain, 0, true, "a hanging chain"},
    {0x94, Support::Hangs, Single, 0, false, "a banner's top"},
    {0x95, Support::Hangs, Single, 0x94, false, "a banner's bottom"},
    {0x33, Support::OnWall, Single, 0, false, "a wall torch"},
    {0x9B, Support::OnWall, Single, 0, false, "a torch"},
    {0x47, Support::InWall, Single, 0, false, "an arched window"},
    {0x9C, Support::InWall, Single, 0, false, "window bars"},
    {0x77, Support::InCorner, Single, 0, false, "a cobweb"},
    {0x9D, Support::InCorner, Single, 0, false, "a cobweb"},
};

} // namespace

const SceneryPiece* FindScenery(uint8_t code)
{
    for (const SceneryPiece& piece : kScenery)
        if (piece.code == code)
            return &piece;
    return nullptr;
}
