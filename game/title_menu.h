// The title stage's menu step and layer (stand-in until the main menu is built).
#pragma once

struct Player;

// Main menu state values used by the session: the prompt, and the items that
// start a game or end the program.
constexpr int kTitlePressStart = 0;
constexpr int kMenuNewGame = 1;
constexpr int kMenuContinue = 2;
constexpr int kMenuExit = 5;

// Once per title frame after the world update: the camera drifts right and a
// released start or jump starts a new game (menuState 1, the title stage ends).
void TitleStep(Player& hero);

// The title layer over the stage picture: logo, version line and the blinking "PRESS START".
void DrawTitleLayer(int frame);

// After the title picture is presented: advances the scroller.
void TitleOverlayStep(Player& hero);

// Scroller back to its first character.
void ResetTitleScroller();
