// Drawing one frame of a stage: background, both tile layers, everything that moves, HUD and texts.
#pragma once

struct Player;

// Draws the stage into the logical screen for attempt frame `frame` (a
// negative frame leaves out every overlay text; the hero is drawn only after
// frame 180). With present 1 the screen is presented (unless the frame clock
// skips drawing) and the frame is paced with WaitFrame.
void DrawPlayfield(int frame, const Player& player, int present);

// The tile code drawn for actor slot `slot` this frame, or -1 when it is not drawn.
int ActorSpriteCode(int slot);
