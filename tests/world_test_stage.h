// Shared set-up for the world tests: an empty stage, a fresh world and one stage-loop frame.
#pragma once

#include <gtest/gtest.h>

#include "world/actors.h"
#include "world/camera.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"
#include "world/world_tick.h"

// A plain solid tile used for ground and walls in the tests.
constexpr TileCode kGround = 0x15;

// Fixture: `columns` empty columns, all slots free, camera at 0, no controls held.
class WorldStage : public ::testing::Test {
protected:
    Player hero;
    PlayerControls controls;

    void SetUp() override { MakeStage(40); }

    // Replaces the stage with an empty one of the given width and resets everything else.
    void MakeStage(int columns) {
        ResetLevelMap(columns);
        world = WorldState{};
        world.lives = kStartLives;
        world.hurryTimer = kHurryFrames;
        world.oxygen = kOxygenFull;
        ClearActors();
        ClearTileEffects();
        ClearLifts();
        controls = PlayerControls{};
        hero = Player{};
    }

    // Fills row r of columns first..last with code (both grids).
    static void FillRow(int r, int first, int last, TileCode code) {
        for (int c = first; c <= last; ++c) SetTile(c, r, code);
    }

    // Ground along the bottom row, over the whole stage.
    void Floor() { FillRow(kRows - 1, 0, levelMap.columns - 1, kGround); }

    // Puts a living hero at (x, y) the way an attempt start does.
    void PlaceHero(int x, int y) {
        hero = Player{};
        hero.x = x;
        hero.y = y;
        hero.active = 1;
    }

    // Holds exactly these controls.
    void Hold(bool left, bool right, bool jump = false, bool down = false) {
        controls = PlayerControls{};
        controls.left = left;
        controls.right = right;
        controls.jump = jump;
        controls.down = down;
    }
    void Release() { controls = PlayerControls{}; }

    // One world frame.
    void Frame() { StepWorld(hero, controls); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    // Number of active effect slots.
    static int ActiveEffects() {
        int n = 0;
        for (const TileEffect& e : tileEffects) n += e.active;
        return n;
    }
    static int ActiveActors() {
        int n = 0;
        for (const Actor& a : actors) n += a.active;
        return n;
    }
    // Occupies every effect slot with a lasting effect far away from the stage.
    static void FillEffectSlots() {
        for (int i = 0; i < kEffectSlots; ++i) StartTileEffect(-1000 - 100 * i, -1000, EffectDrowned);
    }
};
