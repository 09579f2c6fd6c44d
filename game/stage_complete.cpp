// The stage-complete sequence: bonuses added on fixed frames over the dimmed, still stage.
#include "game/stage_complete.h"

#include <cstdio>

#include "audio/music.h"
#include "core/messages.h"
#include "core/sound.h"
#include "core/stages.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/session_music.h"
#include "game/waiting_screen.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "world/player.h"
#include "world/score.h"
#include "world/world_state.h"

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kCongratulationsY = 70;
constexpr int kTimeBonusY = 110;
constexpr int kLifeBonusY = 130;
constexpr int kNextStageY = 160;
constexpr int kComingUpY = 180;
// The stage-complete tune plays once.
constexpr int kPlayOnce = 0;
constexpr int kNoLife = 0;

// "TEXT: N".
void FormatValue(char* out, size_t size, int text, int value)
{
    std::snprintf(out, size, "%s: %d", GetText(text), value);
}

} // namespace

BonusCount StartBonusCount()
{
    BonusCount c;
    c.timeBonus = world.hurryTimer / kFramesPerSecond;
    c.lifeBonus = world.lives;
    return c;
}

void BonusCountFrame(BonusCount& c, int f)
{
    if (f == kTimeBonusFrame)
        c.gained = AddScore(c.timeBonus, kNoLife);
    else if (f == kLifeBonusFrame)
        c.gained = c.gained | AddScore(c.lifeBonus, kNoLife);
    else if (f == kBonusLifeFrame && c.gained)
        GainLife();
}

void RunStageComplete(Player& hero)
{
    PlaySound(SoundJipie);
    BonusCount count = StartBonusCount();
    char timeText[64];
    char lifeText[64];
    FormatValue(timeText, sizeof timeText, TXT_TIME_BONUS, count.timeBonus);
    FormatValue(lifeText, sizeof lifeText, TXT_LIFE_BONUS, count.lifeBonus);
    PlaySessionTune(MusicLevelComplete, kPlayOnce);
    hero.active = 0;
    const bool nextStageFollows =
        game.stage >= kFirstStage && game.stage < kLastStage; // after the last comes the ending
    int f = kBonusFirstFrame;
    // The count runs its fixed frames; buttons pressed meanwhile do nothing.
    WaitingScreen counting;
    counting.done = [&f] { return f > kBonusLastFrame; };
    counting.step = [&] {
        input.held = 0;
        input.released = 0;
        BonusCountFrame(count, f);
        DrawPlayfield(f, hero);
        if (!frameClock.skipDraw) {
            DimScreen();
            DrawTextCentred(screenSurface, GetText(TXT_CONGRATULATIONS), kCongratulationsY, bigFont);
            if (f >= kTimeBonusFrame)
                DrawTextCentred(screenSurface, timeText, kTimeBonusY, bigFont);
            if (f >= kLifeBonusFrame)
                DrawTextCentred(screenSurface, lifeText, kLifeBonusY, bigFont);
            if (nextStageFollows && (f & kBlinkBit) == 0) {
                DrawTextCentred(screenSurface, GetText(TXT_NEXT_STAGE), kNextStageY, bigFont);
                DrawTextCentred(screenSurface, GetText(TXT_COMING_UP), kComingUpY, bigFont);
            }
        }
        f += 1;
        return true;
    };
    counting.input = WaitInput::Events;
    counting.pace = WaitPace::Frame;
    RunWaitingScreen(counting);
    hero.active = 1;
}
