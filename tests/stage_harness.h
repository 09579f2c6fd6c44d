// Test support for stage, session and render tests: map building, a maps archive, a headless screen.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "game/game_state.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "game/play_input.h"
#include "platform/input.h"
#include "platform/tick_source.h"
#include "test_keys.h"
#include "test_support.h"
#include "world/world_state.h"

namespace stagetest {

// A stage map under construction: columns x 12 codes, column-major.
struct StageBuilder {
    int columns;
    std::vector<uint8_t> cells;

    explicit StageBuilder(int n) : columns(n), cells(static_cast<size_t>(n) * 12, 0) {}

    StageBuilder& Set(int c, int r, uint8_t code)
    {
        cells.at(static_cast<size_t>(c) * 12 + r) = code;
        return *this;
    }
    // Solid ground (0x15) in rows `fromRow`..11 of every column.
    StageBuilder& Ground(int fromRow = 10)
    {
        for (int c = 0; c < columns; ++c)
            for (int r = fromRow; r < 12; ++r)
                Set(c, r, 0x15);
        return *this;
    }
    uint8_t At(int c, int r) const { return cells.at(static_cast<size_t>(c) * 12 + r); }
    // The map file: two bytes of (columns - 1), then the cells.
    std::vector<uint8_t> Bytes() const
    {
        std::vector<uint8_t> b(2 + cells.size());
        b[0] = static_cast<uint8_t>((columns - 1) & 0xFF);
        b[1] = static_cast<uint8_t>(((columns - 1) >> 8) & 0xFF);
        std::copy(cells.begin(), cells.end(), b.begin() + 2);
        return b;
    }
};

inline std::string TestFilePath(const std::string& suffix)
{
    const std::string dir = std::string(FRIBB3_BINARY_DIR) + "/stage-test-files";
    std::system(("mkdir -p '" + dir + "'").c_str());
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return dir + "/" + info->test_suite_name() + "." + info->name() + suffix;
}

// Makes `map` the maps archive entry of stage `stage` (the only entry).
inline void UseMapsArchiveWith(int stage, const std::vector<uint8_t>& map)
{
    char name[32];
    std::snprintf(name, sizeof name, "fribb3%02d.bin", stage);
    const std::string path = TestFilePath(".zda");
    testsupport::WriteArchiveFile(path, {ArchiveInput{name, map}});
    OpenArchiveFile(ArchiveMaps, path.c_str());
}

// The real maps archive of the build.
inline void UseBuiltMapsArchive()
{
    OpenArchiveFile(ArchiveMaps, (std::string(FRIBB3_BINARY_DIR) + "/data/maps.zda").c_str());
}

// A 1x window on the dummy driver, mapped colours, the dim overlay and a
// virtual clock, so frames run without sleeping.
inline void OpenHeadlessScreen()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        SDL_Init(SDL_INIT_VIDEO);
    if (!screenSurface) {
        DisplayConfig d;
        d.fullscreen = 0;
        d.zoom = 0;
        OpenDisplay(d);
        MapColors();
        CreateDimOverlay();
    }
    UseVirtualClock(0);
}

// Holds logical buttons from the next event pump on, through key events of the default bindings.
inline void PushKey(int sym, bool down)
{
    testsupport::PushKeyEvent(sym, down);
}

// Default key symbols.
constexpr int kKeyStart = 13;
constexpr int kKeyPause = 9;
constexpr int kKeyJump = 32;
constexpr int kKeyRight = 275;
constexpr int kKeyLeft = 276;

inline void ClearInput()
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    input = InputState{};
    playerControls = PlayerControls{};
}

// A fresh game in stage `stage`: score 0, 6 lives, default restart point, nothing pending.
inline void FreshGame(int stage)
{
    world = WorldState{};
    world.lives = kStartLives;
    game = GameState{};
    game.stage = stage;
    game.testMode = stage < 0;
    game.reloadMusic = 0;
}

} // namespace stagetest
