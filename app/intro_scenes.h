// The intro scenes before the title: the maker's logo, the warning and the credits, run one after another.
#pragma once

struct SDL_Surface;

// One intro scene: four callbacks driven by RunScenes.
struct Scene {
    const char* name;                 // null ends the table
    int (*init)();                    // once before the first frame; returns 0
    int (*deinit)();                  // once after the last frame; returns 0
    int (*update)();                  // once per frame; non-zero ends the scene
    int (*draw)(SDL_Surface* target); // draws one frame into target; returns 0
};

// The scenes in the order they play ("vexo", "warning", "opensource"), ended
// by an entry without a name.
extern const Scene SceneTable[];

// Index of the credits scene in SceneTable, the only one test mode shows.
constexpr int kCreditsScene = 2;

// Plays SceneTable from index first to its end. Each scene starts with no
// released button, and each frame runs update, then (unless the frame clock
// skips drawing) draw and present, then WaitFrame and PumpEvents. A quit
// request or a session stop requested by a tool ends the scenes at once.
void RunScenes(int first);

// Update of the warning and credits scenes: 1 when up or jump was released.
int ConfirmToGoOn();
