// Headless stage play for the stage tools: the stage loop's update order without drawing or sound.
#include "stage_sim.h"

#include "game/game_state.h"
#include "game/play_input.h"
#include "game/stage_loader.h"
#include "game/stage_loop.h"
#include "platform/input.h"
#include "world/world_tick.h"

namespace {

Player& hero = play.hero;
uint32_t lastButtons = 0;
PlayerControls controls;
long frames = 0;
std::shared_ptr<const std::vector<TileCode>> sharedLive, sharedRestore;

// The button a pump reports as released: with several released at once, the
// last in the order the replay input sends key events (L R U D J S P).
uint32_t ReleasedButton(uint32_t before, uint32_t now)
{
    constexpr uint32_t kOrder[] = {kButtonLeft, kButtonRight, kButtonUp,   kButtonDown,
                                   kButtonJump, kButtonStart, kButtonPause};
    uint32_t released = 0;
    for (uint32_t bit : kOrder)
        if ((before & bit) && !(now & bit))
            released = bit;
    return released;
}

// The grid as a shared copy: the base's when equal, else the last one made
// while it is unchanged, else a new one.
std::shared_ptr<const std::vector<TileCode>> Share(const std::vector<TileCode>& grid,
                                                   const std::shared_ptr<const std::vector<TileCode>>* base,
                                                   std::shared_ptr<const std::vector<TileCode>>& last)
{
    if (base && *base && **base == grid)
        return *base;
    if (!last || *last != grid)
        last = std::make_shared<const std::vector<TileCode>>(grid);
    return last;
}

} // namespace

void StartSimStage(const std::vector<uint8_t>& map, int stage)
{
    game = GameState{};
    game.stage = stage;
    ResetWorld();
    ApplyStageMap(map.data(), map.size(), hero);
    play.attemptFrame = 0;
    lastButtons = 0;
    controls = PlayerControls{};
    frames = 0;
    sharedLive.reset();
    sharedRestore.reset();
}

void StepSimFrame(uint32_t buttons)
{
    const uint32_t released = ReleasedButton(lastButtons, buttons);
    lastButtons = buttons;
    if (InIntroPhase(play.attemptFrame)) {
        if (released == kButtonStart || released == kButtonJump)
            play.attemptFrame = kIntroLastFrame;
    } else {
        controls = ControlsFromHeld(buttons, controls);
        StepWorld(hero, controls);
    }
    play.attemptFrame += 1;
    frames += 1;
}

const Player& SimHero()
{
    return hero;
}

long SimFrames()
{
    return frames;
}

bool SimFinished()
{
    return hero.active && hero.finished;
}

bool SimFailed()
{
    return !hero.active || hero.dead;
}

SimSnapshot TakeSimSnapshot(const SimSnapshot* base)
{
    SimSnapshot s;
    PlayPieces& pieces = s;
    pieces = play;
    s.live = Share(levelMap.live, base ? &base->live : nullptr, sharedLive);
    s.restore = Share(levelMap.restore, base ? &base->restore : nullptr, sharedRestore);
    s.columns = levelMap.columns;
    s.lastButtons = lastButtons;
    s.controls = controls;
    s.frames = frames;
    return s;
}

void RestoreSimSnapshot(const SimSnapshot& s)
{
    PlayPieces& pieces = play;
    pieces = s;
    levelMap.columns = s.columns;
    levelMap.live = *s.live;
    levelMap.restore = *s.restore;
    sharedLive = s.live;
    sharedRestore = s.restore;
    lastButtons = s.lastButtons;
    controls = s.controls;
    frames = s.frames;
}

SimOutcome PlaySimRun(const std::vector<uint8_t>& map, int stage, const std::vector<uint32_t>& buttons, long tailFrames)
{
    StartSimStage(map, stage);
    const long total = static_cast<long>(buttons.size()) + tailFrames;
    for (long f = 0; f < total && !SimFinished() && !SimFailed(); ++f)
        StepSimFrame(f < static_cast<long>(buttons.size()) ? buttons[f] : 0);
    SimOutcome o;
    o.finished = SimFinished();
    o.failed = SimFailed();
    o.frames = frames;
    o.ringsLeft = world.ringsLeft;
    o.status = world.statusMessage;
    return o;
}
