// The maker's scene: a picture circling the screen's centre while the maker's logo slides in, with a jingle.
#pragma once

struct MusicModule;
struct SDL_Surface;

// Where the logo starts: off screen to the right.
constexpr int kLogoStartX = 360;

// The scene's state from its init to its deinit.
struct MakerScene {
    SDL_Surface* picture = nullptr; // "tq-vexo", keyed on magenta
    SDL_Surface* logo = nullptr;    // "tq-logo", keyed on magenta
    MusicModule* jingle = nullptr;  // loaded at init, started when the logo arrives; null when missing
    int logoX = kLogoStartX;        // left edge of the logo
    int frame = 0;                  // updates so far
    int picX = 0, picY = 0;         // where the picture was drawn last
};

extern MakerScene makerScene;

// Loads both pictures and the jingle (not started), clears the screen, resets the state.
int MakerSceneInit();
// Frees the pictures and the jingle (which stops it).
int MakerSceneDeinit();
// Once the logo has arrived: 1 on a released jump or start, or when a loaded
// jingle is no longer playing. Otherwise counts the frame and gives 0.
int MakerSceneUpdate();
// Erases the last picture and logo, circles the picture, slides the logo 2
// pixels left until it arrives and starts the jingle on the arrival frame.
int MakerSceneDraw(SDL_Surface* target);

// The logo's resting left edge: centred, halved with an arithmetic shift.
int MakerLogoRestX();
