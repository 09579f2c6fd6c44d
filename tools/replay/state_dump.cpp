// Writing out every field of the session, world, hero, actors, lifts, effects and grids.
#include "tools/replay/state_dump.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/settings.h"
#include "game/game_state.h"
#include "game/options_menu.h"
#include "game/session_music.h"
#include "platform/key_capture.h"
#include "tools/replay/replay_report.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

// A new member of these records must be added to the dump below; these sizes
// are here to say so.
static_assert(sizeof(GameState) == 9 * sizeof(int), "dump every GameState field"); // eight ints and testMode
static_assert(sizeof(WorldState) == 16 * sizeof(int) + kStatusMessageSize, "dump every WorldState field");
static_assert(sizeof(Player) == 17 * sizeof(int32_t), "dump every Player field");
static_assert(sizeof(Actor) == 10 * sizeof(int32_t), "dump every Actor field");
static_assert(sizeof(Lift) == 3 * sizeof(int32_t), "dump every Lift field");
static_assert(sizeof(TileEffect) == 5 * sizeof(int32_t), "dump every TileEffect field");
static_assert(sizeof(OptionsMenu) == 4 * sizeof(int32_t), "dump every OptionsMenu field");
static_assert(sizeof(KeyCapture) == 3 * sizeof(int32_t), "dump every KeyCapture field");
static_assert(sizeof(Settings) == (15 + 2 * ActionCount) * sizeof(int), "dump every Settings field");

namespace {

constexpr uint64_t kFnvPrime = 0x100000001b3ull;

// Appends one formatted record line.
template <typename... Args>
void Line(std::string& out, const char* format, Args... args)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, args...);
    out += buf;
}

uint32_t GridChecksum(const std::vector<TileCode>& cells)
{
    uint64_t d = kDigestStart;
    for (const TileCode cell : cells)
        d = AddWordToDigest(d, cell);
    return static_cast<uint32_t>(d ^ (d >> 32));
}

// The options screen and the settings it edits; only while the screen runs.
void AppendOptionsDump(std::string& out, long frame)
{
    const OptionsMenu& m = optionsMenu;
    Line(out,
         "dump %ld options optionsCursor=%d repeatDelay=%d configDirty=%d restartNeeded=%d captureActive=%d "
         "captureStep=%d captureDuplicate=%d\n",
         frame, m.optionsCursor, m.repeatDelay, m.configDirty, m.restartNeeded, capture.captureActive,
         capture.captureStep, capture.captureDuplicate);
    const Settings& s = settings;
    Line(out,
         "dump %ld settings musicVolume=%d sfxVolume=%d fullscreen=%d zoom=%d colorDepth=%d smooth=%d "
         "scale2x=%d mpFlags=%d mpResamplingMode=%d mpReverbDepth=%d mpReverbDelay=%d mpBassAmount=%d "
         "mpBassRange=%d mpSurroundDepth=%d mpSurroundDelay=%d keys=",
         frame, s.musicVolume, s.sfxVolume, s.fullscreen, s.zoom, s.colorDepth, s.smooth, s.scale2x, s.mpFlags,
         s.mpResamplingMode, s.mpReverbDepth, s.mpReverbDelay, s.mpBassAmount, s.mpBassRange, s.mpSurroundDepth,
         s.mpSurroundDelay);
    for (int a = 0; a < ActionCount; ++a)
        Line(out, a == 0 ? "%d" : ",%d", s.keys[a]);
    out += " pad=";
    for (int a = 0; a < ActionCount; ++a)
        Line(out, a == 0 ? "%d" : ",%d", s.pad[a]);
    out += "\n";
}

} // namespace

void PictureLog::Add(const DrawCall& call)
{
    draws += 1;
    digest = AddToDigest(digest, call.what, std::strlen(call.what));
    for (const int v : call.v)
        digest = AddWordToDigest(digest, static_cast<uint32_t>(v));
    if (call.text)
        digest = AddToDigest(digest, call.text, strnlen(call.text, static_cast<size_t>(std::max(call.v[2], 0))));
}

uint64_t AddToDigest(uint64_t digest, const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        digest = (digest ^ p[i]) * kFnvPrime;
    return digest;
}

uint64_t AddWordToDigest(uint64_t digest, uint32_t word)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                              static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
    return AddToDigest(digest, bytes, sizeof bytes);
}

std::string FormatStateDump(long frame, const PlayState& p, const std::vector<int>& sounds, const PictureLog& picture)
{
    std::string out;
    const GameState& g = game;
    Line(out,
         "dump %ld game stage=%d continueStage=%d menuState=%d paused=%d quitPending=%d hiscoreHighlight=%d "
         "reloadMusic=%d attemptFrame=%d leaveTitle=%d testMode=%d\n",
         frame, g.stage, g.continueStage, g.menuState, g.paused, g.quitPending, g.hiscoreHighlight, g.reloadMusic,
         p.attemptFrame, g.leaveTitle, g.testMode ? 1 : 0);
    const WorldState& w = p.world;
    Line(out,
         "dump %ld world cameraX=%d score=%d lives=%d ringsLeft=%d ringsTotal=%d hurryTimer=%d oxygen=%d "
         "restartX=%d restartY=%d checkpointTaken=%d checkpointTouched=%d doorCell=%d runRightLatch=%d "
         "runLeftLatch=%d pushCounter=%d splashPlayed=%d statusMessage=",
         frame, w.cameraX, w.score, w.lives, w.ringsLeft, w.ringsTotal, w.hurryTimer, w.oxygen, w.restartX, w.restartY,
         w.checkpointTaken, w.checkpointTouched, w.doorCell, w.runRightLatch, w.runLeftLatch, w.pushCounter,
         w.splashPlayed);
    out += QuoteStatus(w.statusMessage) + "\n";
    const Player& h = p.hero;
    Line(out,
         "dump %ld hero x=%d y=%d vy=%d walkCounter=%d idleTimer=%d frame=%d active=%d dead=%d finished=%d "
         "atClosedDoor=%d jumpLatch=%d bounce=%d onTrapdoor=%d trapdoorX=%d trapdoorY=%d moverIndex=%d "
         "deathEffect=%d\n",
         frame, h.x, h.y, h.vy, h.walkCounter, h.idleTimer, h.frame, h.active, h.dead, h.finished, h.atClosedDoor,
         h.jumpLatch, h.bounce, h.onTrapdoor, h.trapdoorX, h.trapdoorY, h.moverIndex, h.deathEffect);
    for (int i = 0; i < kActorSlots; ++i) {
        const Actor& a = p.actors[i];
        if (a.active)
            Line(out,
                 "dump %ld actor[%d] x=%d y=%d dx=%d savedDx=%d vy=%d timer=%d type=%d active=%d stompable=%d "
                 "stompCount=%d\n",
                 frame, i, a.x, a.y, a.dx, a.savedDx, a.vy, a.timer, a.type, a.active, a.stompable, a.stompCount);
    }
    for (int i = 0; i < p.liftCount; ++i)
        Line(out, "dump %ld lift[%d] x=%d y=%d dir=%d\n", frame, i, p.lifts[i].x, p.lifts[i].y, p.lifts[i].dir);
    for (int i = 0; i < kEffectSlots; ++i) {
        const TileEffect& e = p.tileEffects[i];
        if (e.active)
            Line(out, "dump %ld effect[%d] x=%d y=%d t=%d kind=%d active=%d\n", frame, i, e.x, e.y, e.t, e.kind,
                 e.active);
    }
    if (g.stage == 0 && g.menuState == kMenuOptionsScreen)
        AppendOptionsDump(out, frame);
    Line(out, "dump %ld music id=%d\n", frame, SessionMusicId());
    Line(out, "dump %ld grid columns=%d live=%08" PRIx32 " restore=%08" PRIx32 "\n", frame, p.levelMap.columns,
         GridChecksum(p.levelMap.live), GridChecksum(p.levelMap.restore));
    if (!sounds.empty()) {
        out += "dump " + std::to_string(frame) + " sounds played=";
        for (size_t i = 0; i < sounds.size(); ++i) {
            if (i > 0)
                out += ',';
            out += std::to_string(sounds[i]);
        }
        out += "\n";
    }
    if (picture.draws > 0)
        Line(out, "dump %ld picture draws=%d sum=%08" PRIx32 "\n", frame, picture.draws,
             static_cast<uint32_t>(picture.digest ^ (picture.digest >> 32)));
    return out;
}
