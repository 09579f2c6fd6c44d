// Building the trace and final lines of fribb3-replay from the session state.
#include "tools/replay/replay_report.h"

#include <cinttypes>
#include <cstdio>

#include "game/game_state.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/world_state.h"

ReplaySnapshot TakeReplaySnapshot(const Player& hero, long frame)
{
    ReplaySnapshot s;
    s.frame = frame;
    s.stage = game.stage;
    s.attemptFrame = play.attemptFrame;
    s.x = hero.x;
    s.y = hero.y;
    s.vy = hero.vy;
    s.active = hero.active;
    s.dead = hero.dead;
    s.finished = hero.finished;
    s.score = world.score;
    s.lives = world.lives;
    s.ringsLeft = world.ringsLeft;
    s.hurryTimer = world.hurryTimer;
    s.oxygen = world.oxygen;
    s.cameraX = world.cameraX;
    s.status = world.statusMessage;
    s.menuState = game.menuState;
    s.continueStage = game.continueStage;
    return s;
}

std::string QuoteStatus(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string FormatReplayFields(const ReplaySnapshot& s)
{
    char buf[320];
    std::snprintf(buf, sizeof buf,
                  "frame=%ld stage=%d aframe=%d x=%d y=%d vy=%d active=%d dead=%d finished=%d "
                  "score=%d lives=%d rings=%d hurry=%d oxygen=%d camera=%d status=",
                  s.frame, s.stage, s.attemptFrame, s.x, s.y, s.vy, s.active, s.dead, s.finished, s.score, s.lives,
                  s.ringsLeft, s.hurryTimer, s.oxygen, s.cameraX);
    return buf + QuoteStatus(s.status);
}

std::string FormatTraceLine(const ReplaySnapshot& s)
{
    return "trace " + FormatReplayFields(s);
}

std::string FormatFinalLine(const ReplaySnapshot& s, int attempts, const std::string& ended, uint64_t digest)
{
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016" PRIx64, digest);
    return "final " + FormatReplayFields(s) + " attempts=" + std::to_string(attempts) + " ended=" + ended +
           " digest=" + hex;
}

std::string FormatBootFields(const ReplaySnapshot& s)
{
    return " menu=" + std::to_string(s.menuState) + " continue=" + std::to_string(s.continueStage);
}
