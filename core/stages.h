// The numbers the session gives its stages: the title stage, the ten playable ones, the ending, test mode.
#pragma once

// Stage 0 plays behind the main menu; it has no intro phase, HUD or pause.
constexpr int kTitleStage = 0;
// The playable stages, each with its map, tune and savegame number.
constexpr int kFirstStage = 1;
constexpr int kLastStage = 10;
// The stage after the last one: reaching it starts the ending.
constexpr int kEndingStage = kLastStage + 1;
// The stage number of a map file played in test mode.
constexpr int kTestStage = -1;
// What the screens outside a stage hand PollInput, so no pause can open.
constexpr int kNoStage = -1;
