// The title stage's main menu: the "PRESS START" prompt, the five items, the hiscore view, the scroller and the title
// layer.
#pragma once

#include <cstdint>

struct Player;

// Title menuState values: the prompt, the five items, and the hiscore view
// (a negative state is the item it came from, negated).
constexpr int kTitlePressStart = 0;
constexpr int kMenuNewGame = 1;
constexpr int kMenuContinue = 2;
constexpr int kMenuHiscores = 3;
constexpr int kMenuExit = 5;
constexpr int kMenuHiscoreView = -kMenuHiscores;

// No sound for a menu move.
constexpr int kNoMenuSound = -1;

// What one released button does on the main menu.
struct MenuMove {
    int menuState; // the state afterwards
    int sound = kNoMenuSound;
    bool leavesTitle = false;     // NEW GAME, CONTINUE or EXIT chosen: the title stage ends
    bool entersOptions = false;   // the options screen starts afresh
    bool clearsHighlight = false; // leaving the hiscore view forgets the highlighted row
};

// The main menu's answer to a released button in states 0..5 and -3 (any
// other state is returned unchanged). In state 0 a confirm selects CONTINUE
// when a savegame exists (continueStage >= 1), else NEW GAME.
MenuMove MainMenuMove(int menuState, uint32_t released, int continueStage);

// Once per title frame after the world update, while the prompt, the five
// items or the hiscore view are up: the random generator moves on, the camera
// drifts right, then the menu acts on the released button. Confirming the
// prompt first lets the title run until that release is no longer reported.
void TitleMenuStep(Player& hero);

// The same for the options screen: the random generator moves on, the camera
// drifts right unless a binding is being captured, then the screen acts.
void TitleOptionsStep();

// The title layer over the stage picture (menuState >= 0): logo, version
// line, scroller, and the blinking prompt or the five items with the selected
// one blinking.
void DrawTitleLayer(int frame);

// The hiscore view over the stage picture, dimmed: "HISCORES" and the ten
// rows, the highlighted row blinking.
void DrawHiscoreLayer(int frame);

// The scroller moves on half a pixel, back to its start after its last character.
void MoveTitleScroller();

// Scroller back to its first character; the text is taken from the message
// table the first time.
void ResetTitleScroller();

// A new game: score 0, 6 lives, the title stage with its "PRESS START" prompt,
// the given hiscore row highlighted (-1 none), the title scroller from its
// start and no status message. The continue stage and the restart point are
// not touched.
void ResetGame(int highlight);
