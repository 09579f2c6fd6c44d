// The bonus count's arithmetic and the main menu's answers to each released button.
#include <gtest/gtest.h>

#include "core/sound.h"
#include "game/options_menu.h"
#include "game/stage_complete.h"
#include "game/title_menu.h"
#include "platform/input.h"
#include "world/world_state.h"

namespace {

TEST(BonusCount, AddsTheBonusesOnTheirFramesAndAtMostOneLife)
{
    struct Case {
        int hurry, score, lives;
        int afterTime, afterLives; // score after frames 282 and 342
        int livesAt491, livesAfter;
    };
    const Case cases[] = {
        {119, 0, 6, 1, 7, 6, 6},           // 119 frames left are one second
        {59, 0, 6, 0, 6, 6, 6},            // 59 frames left are none
        {600, 95, 3, 105, 108, 3, 4},      // the life for passing 100 waits for frame 492
        {659, 195, 95, 205, 300, 95, 96},  // two hundreds passed, one life
        {9000, 9999, 6, 9999, 9999, 6, 6}, // at the cap nothing is added
        {9000, 9990, 6, 9999, 9999, 6, 6},
    };
    for (const Case& c : cases) {
        world.hurryTimer = c.hurry;
        world.score = c.score;
        world.lives = c.lives;
        BonusCount count = StartBonusCount();
        for (int f = kBonusFirstFrame; f <= kBonusLastFrame; ++f) {
            BonusCountFrame(count, f);
            if (f == kTimeBonusFrame) {
                EXPECT_EQ(world.score, c.afterTime) << c.hurry << "/" << c.score;
            } else if (f == kLifeBonusFrame) {
                EXPECT_EQ(world.score, c.afterLives) << c.hurry << "/" << c.score;
            } else if (f == kBonusLifeFrame - 1) {
                EXPECT_EQ(world.lives, c.livesAt491) << c.hurry << "/" << c.score;
            }
        }
        EXPECT_EQ(world.lives, c.livesAfter) << c.hurry << "/" << c.score;
    }
}

TEST(MainMenu, AnswersEachReleasedButtonAsTheMenuTableSays)
{
    struct Row {
        int state;
        uint32_t released;
        int continueStage;
        int next;
        int sound;
        bool leaves;
    };
    constexpr int kNone = kNoMenuSound;
    const Row rows[] = {
        {0, kButtonStart, 0, 1, kNone, false}, // no savegame: NEW GAME
        {0, kButtonJump, 3, 2, kNone, false},  // a savegame: CONTINUE
        {0, kButtonPause, 0, 1, kNone, false},
        {0, kButtonLeft, 3, 0, kNone, false},
        {1, kButtonDown, 0, 2, SoundKlonk, false},
        {5, kButtonRight, 0, 1, SoundKlonk, false},
        {1, kButtonUp, 0, 5, SoundKlonk, false},
        {3, kButtonLeft, 0, 2, SoundKlonk, false},
        {1, kButtonStart, 0, 1, SoundJipie, true},
        {2, kButtonJump, 0, 2, SoundJipie, true},
        {5, kButtonPause, 0, 5, SoundAj, true},
        {3, kButtonStart, 0, kMenuHiscoreView, kNone, false},
        {4, kButtonJump, 0, kMenuOptionsScreen, kNone, false},
        {kMenuHiscoreView, kButtonPause, 0, 3, kNone, false},
        {kMenuHiscoreView, kButtonDown, 0, kMenuHiscoreView, kNone, false},
        {2, 0, 0, 2, kNone, false},
    };
    for (const Row& r : rows) {
        const MenuMove m = MainMenuMove(r.state, r.released, r.continueStage);
        EXPECT_EQ(m.menuState, r.next) << r.state << " " << r.released;
        EXPECT_EQ(m.sound, r.sound) << r.state << " " << r.released;
        EXPECT_EQ(m.leavesTitle, r.leaves) << r.state << " " << r.released;
        EXPECT_EQ(m.entersOptions, r.next == kMenuOptionsScreen && r.state == 4);
        EXPECT_EQ(m.clearsHighlight, r.state == kMenuHiscoreView && r.next == 3);
    }
}

} // namespace
