// The bonus count after a finished stage: the still stage behind "CONGRATULATIONS", time and life bonuses.
#pragma once

struct Player;

// The frames of the count: f runs from the first to the last, 360 in all.
constexpr int kBonusFirstFrame = 192;
constexpr int kBonusLastFrame = 551;
// Frames at which the time bonus and the life bonus are added, and the extra life given.
constexpr int kTimeBonusFrame = 282;
constexpr int kLifeBonusFrame = 342;
constexpr int kBonusLifeFrame = 492;

// The score side of the count: the whole seconds left and the lives, taken
// when the count starts.
struct BonusCount {
    int timeBonus = 0;
    int lifeBonus = 0;
    int gained = 0; // one of the additions passed a multiple of 100
};

// The bonus for the time and lives left now.
BonusCount StartBonusCount();

// What frame f of the count does to the score and lives: the time bonus at
// 282 and the life bonus at 342 (neither grants a life by itself), then at 492
// one extra life if either addition passed a multiple of 100.
void BonusCountFrame(BonusCount& count, int f);

// The whole sequence for the stage just finished: "jipie", the stage-complete
// tune once, the hero hidden, 360 frames that input cannot shorten, showing
// the bonuses as they are added and, after stages 1..9, "NEXT STAGE" and
// "COMING UP" blinking; a session stop cuts it short. The hero is active again afterwards.
void RunStageComplete(Player& hero);
