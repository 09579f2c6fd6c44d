// The story pictures before a game and the two ending pictures, each waiting for a confirm.
#pragma once

struct Player;

// Shows picture "story" + letter with its caption below and waits until a
// confirm (start, jump or pause) is released or a quit is pending, then until
// that release is no longer reported.
void ShowStoryScreen(char letter, int caption);

// Before a game started from the menu, stage being the first to play: the
// pictures a, b and c before stage 1, c alone before a continued stage. A
// quit asked for meanwhile abandons the game for the title (the pictures
// still to come flash by).
void RunStoryScreens(int stage);

// After the last stage: pictures d and e, the name entry for a qualifying
// score, then the title (on the hiscore view with the new row blinking when
// one was won). A quit asked for during the pictures is dropped.
void RunEnding(const Player& hero);
