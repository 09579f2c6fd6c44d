// Score and lives limits, and what killing the hero or ending his attempt does.
#include <cstring>
#include <string>

#include "core/messages.h"
#include "world_test_stage.h"

namespace {

class ScoreAndLives : public WorldStage {};
class HeroDeath : public WorldStage {};

TEST_F(ScoreAndLives, CapIsAppliedBeforeTheHundredsAreCompared) {
    world.score = 9950;
    EXPECT_EQ(AddScore(100), 0);
    EXPECT_EQ(world.score, 9999);
    EXPECT_EQ(world.lives, kStartLives);
}

TEST_F(ScoreAndLives, FullScoreTakesNothingMore) {
    world.score = 9999;
    EXPECT_EQ(AddScore(1), 0);
    EXPECT_EQ(AddScore(500), 0);
    EXPECT_EQ(world.score, 9999);
    EXPECT_EQ(world.lives, kStartLives);
}

TEST_F(ScoreAndLives, CrossingAHundredGivesOneLife) {
    world.score = 90;
    EXPECT_EQ(AddScore(20), 1);
    EXPECT_EQ(world.score, 110);
    EXPECT_EQ(world.lives, kStartLives + 1);

    world.score = 195;
    EXPECT_EQ(AddScore(3), 0);
    EXPECT_EQ(world.score, 198);
    EXPECT_EQ(world.lives, kStartLives + 1);
}

TEST_F(ScoreAndLives, OneLifePerCallHoweverManyHundreds) {
    world.score = 50;
    EXPECT_EQ(AddScore(300), 1);
    EXPECT_EQ(world.score, 350);
    EXPECT_EQ(world.lives, kStartLives + 1);
}

TEST_F(ScoreAndLives, BonusWithoutLifeStillReportsTheCrossing) {
    world.score = 99;
    EXPECT_EQ(AddScore(1, 0), 1);
    EXPECT_EQ(world.score, 100);
    EXPECT_EQ(world.lives, kStartLives);
}

TEST_F(ScoreAndLives, LivesStopAtNinetyNine) {
    world.lives = 98;
    GainLife();
    EXPECT_EQ(world.lives, 99);
    GainLife();
    EXPECT_EQ(world.lives, 99);
    world.score = 199;
    EXPECT_EQ(AddScore(1), 1);
    EXPECT_EQ(world.lives, 99);
}

TEST_F(HeroDeath, PlainDeathLeapsUp) {
    PlaceHero(64, 100);
    hero.idleTimer = 33;
    KillPlayer(hero, "FELL", 0);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(hero.idleTimer, 0);
    EXPECT_EQ(hero.vy, -16);
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(hero.active, 1); // stays in play while he falls out
    EXPECT_STREQ(world.statusMessage, "FELL");
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(HeroDeath, DeathWithEffectHoldsTheHeroInPlace) {
    PlaceHero(64, 100);
    hero.vy = 12;
    KillPlayer(hero, "STABBED BY MASKY", EffectStabbed);
    EXPECT_EQ(hero.vy, 0);
    EXPECT_EQ(hero.deathEffect, EffectStabbed);
    EXPECT_EQ(TileEffectRunning(64, 100, EffectStabbed), 1);
}

TEST_F(HeroDeath, SecondKillKeepsTheFirstMessageAndEffect) {
    PlaceHero(64, 100);
    KillPlayer(hero, "STABBED BY MASKY", EffectStabbed);
    KillPlayer(hero, "KILLED BY SKULL", EffectCrushedByEnemy);
    EXPECT_STREQ(world.statusMessage, "STABBED BY MASKY");
    EXPECT_EQ(hero.deathEffect, EffectStabbed);
    EXPECT_EQ(ActiveEffects(), 1);
}

TEST_F(HeroDeath, NoFreeEffectSlotFallsBackToThePlainDeath) {
    PlaceHero(64, 100);
    FillEffectSlots();
    KillPlayer(hero, "IMPALED TO DEATH", EffectImpaled);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(hero.vy, -16);
}

TEST_F(HeroDeath, EndAttemptLeavesPlayAtOnceEvenWhenDead) {
    PlaceHero(64, 100);
    KillPlayer(hero, "DROWNED", EffectDrowning);
    EndAttempt(hero, "TIME UP", 0);
    EXPECT_EQ(hero.active, 0);
    EXPECT_EQ(hero.idleTimer, 180);
    EXPECT_STREQ(world.statusMessage, "TIME UP");
    EXPECT_EQ(ActiveEffects(), 1);
}

TEST_F(HeroDeath, EndAttemptEffectOnlyWithoutARunningDeath) {
    PlaceHero(64, 100);
    EndAttempt(hero, "", EffectSuicide);
    EXPECT_EQ(TileEffectRunning(64, 100, EffectSuicide), 1);
    EXPECT_STREQ(world.statusMessage, "");
}

TEST_F(HeroDeath, NegativeEffectKindIsThePlainDeath) {
    PlaceHero(64, 100);
    KillPlayer(hero, "FELL", -3);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(hero.vy, -16);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(HeroDeath, EveryMessageOfTheTableFitsWhole) {
    for (int id = 0; id < kTextCount; ++id) {
        SetStatusMessage(GetText(id));
        EXPECT_STREQ(world.statusMessage, GetText(id)) << id;
    }
}

TEST_F(HeroDeath, LongMessagesAreCutToTheBuffer) {
    const std::string longText(kStatusMessageSize + 100, 'X');
    SetStatusMessage(longText.c_str());
    EXPECT_EQ(std::strlen(world.statusMessage), static_cast<size_t>(kStatusMessageSize - 1));
    SetStatusMessage(nullptr);
    EXPECT_STREQ(world.statusMessage, "");
}

} // namespace
