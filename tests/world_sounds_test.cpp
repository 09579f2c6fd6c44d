// The sounds of the world: every event is heard with its own effect, in the order the rules play them.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "assets/archive.h"
#include "audio/sound_effects.h"
#include "world_test_stage.h"

namespace {

const char* const kBuiltSoundArchive = FRIBB3_BINARY_DIR "/data/sound.zda";
constexpr int kRate = 22050;
constexpr int kMixChannels = 16;
constexpr int kMixBufferFrames = 1024;

using Sounds = std::vector<int>;

// A floor in the bottom row, the hero standing on it at x 32, and a real mixer on the dummy
// driver whose audio is paused: a played effect stays on its channel until Heard() reads it.
class WorldSounds : public WorldStage {
protected:
    std::vector<Mix_Chunk*> reference; // each effect decoded again, by SoundId, to recognise it

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, kMixBufferFrames), 0) << SDL_GetError();
        Mix_AllocateChannels(kMixChannels);
        SDL_PauseAudio(1);
        OpenArchiveFile(ArchiveSound, kBuiltSoundArchive);
        LoadSoundEffects();
        for (const char* name : kSoundNames) {
            size_t size = 0;
            uint8_t* data = ReadArchiveEntry(ArchiveSound, name, "wav", &size);
            ASSERT_NE(data, nullptr) << name;
            SDL_RWops* rw = SDL_RWFromMem(data, static_cast<int>(size));
            reference.push_back(Mix_LoadWAV_RW(rw, 0));
            SDL_FreeRW(rw);
            std::free(data);
            ASSERT_NE(reference.back(), nullptr) << name;
        }
        MakeStage(40);
        Floor();
        PlaceHero(32, 160);
        Frame(); // settles on the floor
        ASSERT_EQ(Heard(), Sounds{});
    }

    void TearDown() override {
        Mix_HaltChannel(-1);
        FreeSoundEffects();
        for (Mix_Chunk* chunk : reference)
            if (chunk) Mix_FreeChunk(chunk);
        CloseArchives();
        Mix_CloseAudio();
        SDL_Quit();
    }

    // SoundId of a playing chunk, -1 when it is none of the effects.
    int IdOf(const Mix_Chunk* chunk) const {
        for (int id = 0; id < kSoundCount; ++id) {
            const Mix_Chunk* ref = reference[id];
            if (chunk->alen == ref->alen && std::memcmp(chunk->abuf, ref->abuf, ref->alen) == 0) return id;
        }
        return -1;
    }

    // The effects played since the last call, in play order (the mixer takes the lowest free
    // channel), and silence again.
    Sounds Heard() {
        Sounds ids;
        for (int channel = 0; channel < kMixChannels; ++channel)
            if (Mix_Playing(channel)) ids.push_back(IdOf(Mix_GetChunk(channel)));
        Mix_HaltChannel(-1);
        return ids;
    }
};

TEST_F(WorldSounds, EveryEffectCanBeToldApart) {
    for (int id = 0; id < kSoundCount; ++id) {
        PlaySound(id);
        EXPECT_EQ(Heard(), Sounds{id}) << kSoundNames[id];
    }
}

TEST_F(WorldSounds, PickUps) {
    world.ringsLeft = 2;
    SetTile(2, 10, tile::Ring);
    Frame();
    EXPECT_EQ(Heard(), Sounds{SoundChew});
    Frame(); // the pick-up clears the cell
    SetTile(2, 10, tile::Ring);
    Frame();
    EXPECT_EQ(Heard(), (Sounds{SoundChew, SoundKlack})) << "the last ring opens the door";

    Frame();
    world.score = 90;
    SetTile(2, 10, tile::Bonus);
    Frame();
    EXPECT_EQ(Heard(), (Sounds{SoundChew, SoundTada})) << "20 points crossing a hundred";

    SetTile(2, 10, tile::ExtraLife);
    Frame();
    EXPECT_EQ(Heard(), Sounds{SoundTada});
    Frame();
    world.lives = kMaxLives;
    SetTile(2, 10, tile::ExtraLife);
    Frame();
    EXPECT_EQ(Heard(), Sounds{}) << "no sound at 99 lives";
}

TEST_F(WorldSounds, HeadHits) {
    SetTile(2, 8, tile::Brick);
    Hold(false, false, true);
    Frames(4);
    EXPECT_EQ(Heard(), Sounds{SoundKrack});
    Release();
    Frames(60);
    SetTile(2, 8, tile::BumpBlock);
    Hold(false, false, true);
    Frames(4);
    EXPECT_EQ(Heard(), Sounds{SoundKlonk});
}

TEST_F(WorldSounds, SpikesGatesAndCheckpoints) {
    SetTile(4, 10, tile::Checkpoint);
    Hold(false, true);
    Frames(16); // centre at x 56: over the checkpoint
    EXPECT_EQ(Heard(), Sounds{SoundKnirk});

    SetTile(6, 10, tile::Gate);
    while (hero.x < 112) Frame(); // through the gate cell and out of it
    EXPECT_EQ(Heard(), Sounds{SoundTrdoor});

    SetTile(9, 10, tile::HiddenSpikes);
    while (hero.x < 136) Frame();
    Release();
    EXPECT_EQ(Heard(), Sounds{SoundBoink});
    Frame();
    EXPECT_EQ(Heard(), Sounds{SoundAj}) << "impaled by the spikes that came out";
}

TEST_F(WorldSounds, ExplosiveBlowsUpWithACrack) {
    SetTile(3, 10, tile::Explosive);
    Hold(false, true);
    Frames(2);
    EXPECT_EQ(Heard(), (Sounds{SoundKrack, SoundAj}));
}

TEST_F(WorldSounds, BlocksClackWhenPushedAndCrackWhenTheyLand) {
    SetTile(3, 10, tile::PushBlock);
    Hold(false, true);
    for (int i = 0; i < 3; ++i) Frame();
    EXPECT_EQ(Heard(), Sounds{});
    Frame();
    EXPECT_EQ(Heard(), Sounds{SoundKlack});
    Release();
    Frames(10);
    EXPECT_EQ(Heard(), Sounds{}) << "a block pushed along the ground makes no landing sound";

    SetTile(20, 5, tile::PushBlock);
    StartTileEffect(320, 80, EffectFall);
    Frames(4 * 5);
    EXPECT_EQ(Heard(), Sounds{SoundKrack}) << "lands on the floor";

    MakeStage(40);
    SetTile(3, 10, tile::PushBlock);
    StartTileEffect(48, 160, EffectFall);
    Frames(8);
    EXPECT_EQ(Heard(), Sounds{SoundKrack}) << "drops out of the stage";
}

TEST_F(WorldSounds, Stomps) {
    const struct {
        int type;
        int sound;
    } cases[] = {{ActorMasky, SoundBlubb}, {ActorWingedEye, SoundBat}, {ActorSkull, SoundKlack}};
    for (const auto& c : cases) {
        ClearActors();
        SpawnActor(100, 108, c.type);
        PlaceHero(101, 100);
        hero.vy = 8;
        UpdateActors(hero);
        EXPECT_EQ(Heard(), Sounds{c.sound}) << c.type;
    }
}

TEST_F(WorldSounds, DeathsCryOnceAndEndingAnAttemptIsSilent) {
    SpawnActor(40, 160, ActorBeetle);
    UpdateActors(hero);
    EXPECT_EQ(Heard(), (Sounds{SoundAj, SoundAj})) << "an enemy's kill cries twice";
    KillPlayer(hero, "SECOND", 0);
    EXPECT_EQ(Heard(), Sounds{}) << "a dead hero is not killed again";

    PlaceHero(32, 160);
    EndAttempt(hero, "TIME UP", 0);
    EXPECT_EQ(Heard(), Sounds{});

    MakeStage(40);
    Floor();
    SetTile(3, 3, kGround);
    AddLift(48, 96);
    lifts[0].dir = -1;
    PlaceHero(48, 80);
    hero.vy = kStandingSpeed;
    Frames(16);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(Heard(), Sounds{SoundAj}) << "smashed against the ceiling";
}

} // namespace
