// The title logo and the playfield background, loaded at start-up and kept until shutdown.
#pragma once

struct SDL_Surface;

extern SDL_Surface* LogoImage; // "logo", keyed on magenta; drawn by the title screen
extern SDL_Surface* BackImage; // "back", no key; the scrolling background of the playfield

// Loads "logo" keyed on 255/0/255 as LogoImage.
void LoadLogo();
// Loads "back" without a key as BackImage.
void LoadBack();
// Frees LogoImage, then BackImage; both become null.
void FreeFrontEndImages();
