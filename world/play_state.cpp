// The one play record and the names its parts go by.
#include "world/play_state.h"

PlayState play;

WorldState& world = play.world;
LevelMap& levelMap = play.levelMap;
Actor (&actors)[kActorSlots] = play.actors;
Lift (&lifts)[kMaxLifts] = play.lifts;
int& liftCount = play.liftCount;
TileEffect (&tileEffects)[kEffectSlots] = play.tileEffects;
