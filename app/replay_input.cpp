// Scripted input through queued key events, and input recording, both via the pump hook.
#include "app/replay_input.h"

#include <SDL.h>

#include <vector>

#include "core/settings.h"
#include "platform/input.h"

namespace {

struct ButtonKey {
    uint32_t bit;
    int action;
};

// The order keys go down in when several change at once: directions, then actions.
constexpr ButtonKey kButtonKeys[] = {
    {kButtonLeft, ActionLeft}, {kButtonRight, ActionRight}, {kButtonUp, ActionUp},       {kButtonDown, ActionDown},
    {kButtonJump, ActionJump}, {kButtonStart, ActionStart}, {kButtonPause, ActionPause},
};

// Every logical button a script can hold.
constexpr uint32_t kScriptButtons =
    kButtonLeft | kButtonRight | kButtonUp | kButtonDown | kButtonJump | kButtonStart | kButtonPause;

const ReplayScript* playing = nullptr;
ScriptCursor cursor;
bool recording = false;
long polls = 0;
long pollsOffStage = 0; // polls since the last stage frame
uint32_t lastButtons = 0;
std::vector<uint32_t> recorded;
long pollLimit = 0;
void (*pollLimitReached)() = nullptr;

// Counts a poll and fires the guard when a screen has polled up to the limit.
void CountPoll()
{
    ++polls;
    ++pollsOffStage;
    if (pollLimitReached && pollLimit > 0 && pollsOffStage == pollLimit)
        pollLimitReached();
}

void PushKey(int action, bool down)
{
    const int sym = settings.keys[action];
    if (sym < 0)
        return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    SDL_PushEvent(&e);
}

void PlaybackHook()
{
    const uint32_t now = ButtonsAtPoll(*playing, polls, cursor);
    // Releases first, so a button that moves from one direction to its
    // opposite never sees both held.
    for (const ButtonKey& k : kButtonKeys)
        if ((lastButtons & k.bit) && !(now & k.bit))
            PushKey(k.action, false);
    for (const ButtonKey& k : kButtonKeys)
        if (!(lastButtons & k.bit) && (now & k.bit))
            PushKey(k.action, true);
    lastButtons = now;
    CountPoll();
}

void RecordHook()
{
    // At the start of a poll, `input.held` is what the previous poll left.
    if (polls > 0)
        recorded.push_back(input.held & kScriptButtons);
    CountPoll();
}

} // namespace

void StartScriptedInput(const ReplayScript* script)
{
    playing = script;
    cursor = ScriptCursor{};
    recording = false;
    polls = 0;
    pollsOffStage = 0;
    lastButtons = 0;
    SetPumpHook(PlaybackHook);
}

void StartInputRecording()
{
    playing = nullptr;
    recording = true;
    polls = 0;
    pollsOffStage = 0;
    recorded.clear();
    SetPumpHook(RecordHook);
}

std::string RecordedScript()
{
    std::vector<uint32_t> all = recorded;
    if (recording && polls > 0)
        all.push_back(input.held & kScriptButtons);
    return FormatReplayScript(all);
}

void StopReplayInput()
{
    SetPumpHook(nullptr);
    playing = nullptr;
    recording = false;
}

long ReplayPollCount()
{
    return polls;
}

void NoteStageFrame()
{
    pollsOffStage = 0;
}

void SetReplayPollLimit(long limit, void (*reached)())
{
    pollLimit = limit;
    pollLimitReached = reached;
}
