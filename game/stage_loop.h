// The per-frame stage loop: input, world update, hurry timer, oxygen, drawing, overlays.
#pragma once

struct Player;

// The last frame of an attempt's intro phase ("FRIBB, RUN!"); the title stage has none.
constexpr int kIntroLastFrame = 180;

// Runs frames until the attempt ends: the hero has finished, his countdown
// after leaving play has run out, a quit is pending, the title menu left the
// title stage, or a session stop was requested.
void RunStageLoop(Player& hero);

// One frame of the stage loop, in its fixed order.
void RunStageFrame(Player& hero);

// True while frame `frame` of the current attempt belongs to the intro phase.
bool InIntroPhase(int frame);

// The hurry timer step: one frame less; at exactly 0 the attempt ends with "TIME UP".
void RunHurryTimer(Player& hero);

// The oxygen step: in water oxygen runs down (0 drowns the hero) and the
// splash plays once per stay; out of water it refills by 2 up to 619 or 620.
void RunOxygen(Player& hero);

// True when the hero's centre lies in a water cell.
bool HeroInWater(const Player& hero);
