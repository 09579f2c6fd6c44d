// Tile codes with a meaning of their own, and the collision kinds of the tile table.
#pragma once

#include <cstdint>

#include "core/geometry.h"

using TileCode = uint32_t;

// Cell held by a moving block: solid, never drawn, never stored in the restore grid.
// Every code from here up counts as solid.
constexpr TileCode BusyCell = 0xF0;

enum TileKind : uint8_t {
    Empty = 0,
    Solid = 1,
    Hazard = 2,
    Pushable = 3,
};

namespace tile {
constexpr TileCode None = 0x00;
// Hero start markers in stage data (also hero sprite frames 1-8, 0x41, 0x44).
constexpr TileCode HeroWalkRightFirst = 0x01;
constexpr TileCode HeroWalkLeftFirst = 0x05;
constexpr TileCode HeroWalkLeftLast = 0x08;
constexpr TileCode HeroStandRight = 0x41;
constexpr TileCode HeroStandLeft = 0x44;
constexpr TileCode HeroIdle = 0x18; // start marker in stages above 0; also the lives icon
constexpr TileCode MaskySpawn = 0x09;
constexpr TileCode BeetleSpawn = 0x0D;
constexpr TileCode WingedEyeSpawn = 0x21;
constexpr TileCode AcidFishSpawn = 0x35;
constexpr TileCode SkullSpawnA = 0x43;
constexpr TileCode SkullSpawnB = 0x79;
constexpr TileCode Checkpoint = 0x11;
constexpr TileCode CheckpointHalf = 0x12;
constexpr TileCode CheckpointTaken = 0x13;
constexpr TileCode BumpBlock = 0x14;
constexpr TileCode CrumblingFloor = 0x16;
constexpr TileCode PushBlock = 0x19;
constexpr TileCode ExtraLife = 0x1A;
constexpr TileCode DoorOpenTopLeft = 0x1B;
constexpr TileCode DoorOpenTopRight = 0x1C;
constexpr TileCode DoorOpenBottomLeft = 0x2F;
constexpr TileCode DoorOpenBottomRight = 0x30;
constexpr TileCode DoorClosedTopLeft = 0x26;
constexpr TileCode DoorClosedTopRight = 0x27;
constexpr TileCode DoorClosedBottomLeft = 0x3A;
constexpr TileCode DoorClosedBottomRight = 0x3B;
constexpr TileCode Brick = 0x28;
constexpr TileCode Ring = 0x29;
constexpr TileCode ScoreIcon = 0x2A;
constexpr TileCode Lift = 0x42;
constexpr TileCode GateShut = 0x45;
constexpr TileCode Water = 0x55;
constexpr TileCode HiddenSpikes = 0x56;
constexpr TileCode Spikes = 0x57;
constexpr TileCode Gate = 0x58;
constexpr TileCode GateClosing = 0x59;
constexpr TileCode SpikesOut = 0x69;
constexpr TileCode Bonus = 0x89;
constexpr TileCode BonusTaken = 0x8A;
constexpr TileCode Explosive = 0x8C;
constexpr TileCode WaterB = 0x91;
constexpr TileCode WaterC = 0x92;
constexpr TileCode WaterSurfaceA = 0xA0; // with 0xA1 an animated 32-pixel strip
constexpr TileCode WaterSurfaceB = 0xA1;
constexpr TileCode WaterLast = 0xA6;
} // namespace tile
