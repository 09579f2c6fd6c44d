// Drawing one frame of a stage: background, recesses under ceilings, both tile layers, everything that moves, HUD and texts.
#pragma once

struct Player;

// Draws the stage into the logical screen for attempt frame `frame` unless the
// frame clock skips drawing (a negative frame leaves out every overlay text; the
// hero is drawn only after frame 180). The menus' layers are drawn over it by
// whoever is in charge.
void DrawPlayfield(int frame, const Player& player);

// The end of a paced frame: the logical screen is presented unless the frame
// clock skips drawing, then WaitFrame.
void PresentFrame();

// The tile code drawn for actor slot `slot` this frame, or -1 when it is not drawn.
int ActorSpriteCode(int slot);
