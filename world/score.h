// Score, lives and the two ways an attempt ends for the hero.
#pragma once

struct Player;

// Adds points (score capped at 9999); 1 when the score crossed a multiple of
// 100, in which case a life is granted when grantLife is 1.
int AddScore(int points, int grantLife = 1);

// One more life with "tada", up to 99.
void GainLife();

// Kills the hero once: message, "aj", the death effect (0: the plain leap and fall).
void KillPlayer(Player& player, const char* message, int effectKind);

// Takes the hero out of play at once, with a 180-frame countdown and a message.
void EndAttempt(Player& player, const char* message, int effectKind);
