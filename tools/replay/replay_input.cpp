// Scripted input through queued key events, and input recording, both via the pump hook.
#include "tools/replay/replay_input.h"

#include <SDL.h>

#include <iterator>
#include <vector>

#include "core/settings.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/release_wait.h"

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
// The key each held logical button went down as (its binding then), -1 none:
// its release must be that key even when the bindings changed meanwhile.
int buttonKey[sizeof kButtonKeys / sizeof kButtonKeys[0]];
std::vector<int> lastKeys;   // the step's own keys held in the previous poll
uint32_t lastPadButtons = 0; // pad buttons held in the previous poll
// How many reasons each key is down for (a button's binding and the step's own
// keys may name the same key), and the keyboard the release wait looks at.
int keyHolds[SDLK_LAST];
uint8_t keyState[SDLK_LAST];
std::vector<uint32_t> recorded;
long pollLimit = 0;
void (*pollLimitReached)() = nullptr;
void (*pollWatcher)(long) = nullptr;

// Counts a poll and fires the guard when a screen has polled up to the limit.
void CountPoll()
{
    ++polls;
    ++pollsOffStage;
    if (pollLimitReached && pollLimit > 0 && pollsOffStage == pollLimit)
        pollLimitReached();
}

// Queues a key event when the key really goes down or up.
void ChangeKey(int sym, bool down)
{
    if (sym <= 0 || sym >= SDLK_LAST)
        return;
    keyHolds[sym] += down ? 1 : -1;
    if (keyHolds[sym] != (down ? 1 : 0))
        return;
    keyState[sym] = down ? 1 : 0;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    SDL_PushEvent(&e);
}

void ChangePadButton(int button, bool down)
{
    SetSimulatedButton(button, down);
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.type = e.type;
    e.jbutton.which = 0;
    e.jbutton.button = static_cast<Uint8>(button);
    e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

bool Holds(const std::vector<int>& keys, int sym)
{
    for (int k : keys)
        if (k == sym)
            return true;
    return false;
}

void ResetHeldState()
{
    lastButtons = 0;
    lastKeys.clear();
    lastPadButtons = 0;
    for (int& k : buttonKey)
        k = -1;
    for (int& h : keyHolds)
        h = 0;
    for (uint8_t& k : keyState)
        k = 0;
}

void PlaybackHook()
{
    if (pollWatcher)
        pollWatcher(polls + 1);
    static const std::vector<int> kNoKeys;
    const ReplayStep* step = StepAtPoll(*playing, polls, cursor);
    const uint32_t now = step ? step->buttons : 0;
    const std::vector<int>& keys = step ? step->keys : kNoKeys;
    const uint32_t pad = step ? step->padButtons : 0;
    // Releases first, so a button that moves from one direction to its
    // opposite never sees both held.
    for (size_t i = 0; i < std::size(kButtonKeys); ++i) {
        if ((lastButtons & kButtonKeys[i].bit) && !(now & kButtonKeys[i].bit)) {
            ChangeKey(buttonKey[i], false);
            buttonKey[i] = -1;
        }
    }
    for (int sym : lastKeys)
        if (!Holds(keys, sym))
            ChangeKey(sym, false);
    for (int b = 0; b < kScriptPadButtons; ++b)
        if ((lastPadButtons & (1u << b)) && !(pad & (1u << b)))
            ChangePadButton(b, false);

    for (size_t i = 0; i < std::size(kButtonKeys); ++i) {
        if (!(lastButtons & kButtonKeys[i].bit) && (now & kButtonKeys[i].bit)) {
            buttonKey[i] = settings.keys[kButtonKeys[i].action];
            ChangeKey(buttonKey[i], true);
        }
    }
    for (int sym : keys)
        if (!Holds(lastKeys, sym))
            ChangeKey(sym, true);
    for (int b = 0; b < kScriptPadButtons; ++b)
        if (!(lastPadButtons & (1u << b)) && (pad & (1u << b)))
            ChangePadButton(b, true);

    lastButtons = now;
    lastKeys = keys;
    lastPadButtons = pad;
    CountPoll();
}

void RecordHook()
{
    if (pollWatcher)
        pollWatcher(polls + 1);
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
    ResetHeldState();
    SetPumpHook(PlaybackHook);
    // A release wait lets the script go on, one poll per look, and sees the
    // keys the script holds.
    SimulateReleaseWait(keyState, SDLK_LAST, PlaybackHook);
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
    SimulateReleaseWait(nullptr, 0, nullptr);
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

void SetPollWatcher(void (*watcher)(long poll))
{
    pollWatcher = watcher;
}

void SetReplayPollLimit(long limit, void (*reached)())
{
    pollLimit = limit;
    pollLimitReached = reached;
}
