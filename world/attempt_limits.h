// The two clocks of an attempt: the hurry timer and the hero's oxygen.
#pragma once

struct Player;

// One frame of the hurry timer: one frame less; at exactly 0 the attempt ends with "TIME UP".
void RunHurryTimer(Player& hero);

// One frame of oxygen: in water it runs down (0 drowns the hero) and the
// splash plays once per stay; out of water it refills by 2 up to 619 or 620.
void RunOxygen(Player& hero);

// True when the hero's centre lies in a water cell.
bool HeroInWater(const Player& hero);
