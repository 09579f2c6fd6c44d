// Score, lives, killing the hero and ending his attempt.
#include "world/score.h"

#include "core/sound.h"
#include "world/hero.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {
constexpr int kPointsPerLife = 100;
constexpr int kPlainDeathLeap = -16;      // quarter pixels: the hero leaps up before falling out
constexpr int kEndAttemptCountdown = 180; // frames the stage stays on screen with the message
} // namespace

int AddScore(int points, int grantLife)
{
    if (world.score >= kMaxScore)
        return 0;
    const int old = world.score;
    world.score += points;
    // The cap comes before the hundreds are compared, so 9950 + 100 grants nothing.
    if (world.score > kMaxScore)
        world.score = kMaxScore;
    if (old / kPointsPerLife < world.score / kPointsPerLife) {
        if (grantLife == 1)
            GainLife();
        return 1;
    }
    return 0;
}

void GainLife()
{
    if (world.lives >= kMaxLives)
        return;
    PlaySound(SoundTada);
    world.lives += 1;
}

void KillPlayer(Player& player, const char* message, int effectKind)
{
    if (player.dead)
        return; // the first cause of death stays on screen
    player.dead = 1;
    player.idleTimer = 0;
    SetStatusMessage(message);
    PlaySound(SoundAj);
    player.deathEffect = effectKind > 0 ? effectKind : 0;
    if (player.deathEffect == 0) {
        player.vy = kPlainDeathLeap;
        return;
    }
    player.vy = 0;
    StartTileEffect(player.x, player.y, effectKind);
    // With every effect slot busy nothing would ever move the hidden hero out
    // of the stage; he takes the plain death instead.
    if (!TileEffectRunning(player.x, player.y, effectKind)) {
        player.deathEffect = 0;
        player.vy = kPlainDeathLeap;
    }
}

void EndAttempt(Player& player, const char* message, int effectKind)
{
    player.active = 0;
    player.idleTimer = kEndAttemptCountdown;
    SetStatusMessage(message);
    if (effectKind > 0 && player.deathEffect == 0)
        StartTileEffect(player.x, player.y, effectKind);
}
