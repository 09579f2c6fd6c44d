// The event pump: keyboard, joystick and window events to logical buttons.
#include "platform/input.h"

#include <SDL.h>

#include <pthread.h>
#include <time.h>

#include <csignal>

#include "core/settings.h"

InputState input;

namespace {

void (*pumpHook)() = nullptr;

// The signals that ask the program to end, and the one that did.
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
int endSignal = 0;

sigset_t EndSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kEndSignals)
        sigaddset(&set, sig);
    return set;
}

// Takes the first end signal waiting for the process, without waiting for one; after it the
// signals get their default action back, so another one ends the process at once.
void TakeEndSignal()
{
    if (endSignal)
        return;
    const sigset_t set = EndSignalSet();
    const timespec now = {0, 0};
    const int sig = sigtimedwait(&set, nullptr, &now);
    if (sig <= 0)
        return;
    endSignal = sig;
    for (int s : kEndSignals)
        std::signal(s, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void Press(uint32_t bit, uint32_t opposite)
{
    input.held &= ~opposite;
    input.held |= bit;
}

void Release(uint32_t bit)
{
    input.held &= ~bit;
    input.released = bit;
}

void HandleKeyDown(int s)
{
    const int* k = settings.keys;
    input.lastKey = s;
    input.lastPadButton = -1;
    if (s == k[ActionUp])
        Press(kButtonUp, kButtonDown);
    else if (s == k[ActionDown])
        Press(kButtonDown, kButtonUp);
    else if (s == k[ActionRight])
        Press(kButtonRight, kButtonLeft);
    else if (s == k[ActionLeft])
        Press(kButtonLeft, kButtonRight);

    if (s == k[ActionJump])
        input.held |= kButtonJump;
    else if (s == k[ActionPause])
        input.held |= kButtonPause;
    else if (s == k[ActionStart])
        input.held |= kButtonStart;
    else if (s == kKeyEscape)
        input.quitRequest = 1;
}

void HandleKeyUp(int s)
{
    const int* k = settings.keys;
    input.lastPadButton = -1;
    if (s == k[ActionUp])
        Release(kButtonUp);
    else if (s == k[ActionDown])
        Release(kButtonDown);
    else if (s == k[ActionRight])
        Release(kButtonRight);
    else if (s == k[ActionLeft])
        Release(kButtonLeft);

    if (s == k[ActionJump])
        Release(kButtonJump);
    else if (s == k[ActionPause])
        Release(kButtonPause);
    else if (s == k[ActionStart])
        Release(kButtonStart);
}

// Centring releases the held direction of one pair, the first of the two if both.
void ReleasePair(uint32_t first, uint32_t second)
{
    if (input.held & first)
        Release(first);
    else if (input.held & second)
        Release(second);
}

void HandleAxis(int axis, int v)
{
    const bool stickJump = settings.pad[ActionJump] == -1;
    if (axis == 1) {
        if (v < -kAxisThreshold) {
            Press(kButtonUp, kButtonDown);
            if (stickJump)
                input.held |= kButtonJump;
        } else if (v > kAxisThreshold) {
            Press(kButtonDown, kButtonUp);
        } else {
            ReleasePair(kButtonDown, kButtonUp);
            if (stickJump && (input.held & kButtonJump))
                Release(kButtonJump);
        }
    } else if (axis == 0) {
        if (v > kAxisThreshold)
            Press(kButtonRight, kButtonLeft);
        else if (v < -kAxisThreshold)
            Press(kButtonLeft, kButtonRight);
        else
            ReleasePair(kButtonRight, kButtonLeft);
    }
}

// True when hat value h points the way of a hat binding. An unbound direction
// (-1, while a redefinition runs) would otherwise match every hat position.
bool HatMatches(int h, int binding)
{
    return binding > 0 && (h & binding) != 0;
}

void HandleHat(int h)
{
    const int* p = settings.pad;
    if (HatMatches(h, p[ActionUp]))
        Press(kButtonUp, kButtonDown);
    else if (HatMatches(h, p[ActionDown]))
        Press(kButtonDown, kButtonUp);
    if (HatMatches(h, p[ActionLeft]))
        Press(kButtonLeft, kButtonRight);
    else if (HatMatches(h, p[ActionRight]))
        Press(kButtonRight, kButtonLeft);
    if (h == 0) {
        ReleasePair(kButtonDown, kButtonUp);
        ReleasePair(kButtonRight, kButtonLeft);
    }
}

void HandlePadButton(int b, bool down)
{
    const int* p = settings.pad;
    input.lastKey = 0;
    if (down) {
        input.lastPadButton = b;
        if (b == p[ActionJump])
            input.held |= kButtonJump;
        else if (b == p[ActionPause])
            input.held |= kButtonPause;
        else if (b == p[ActionStart])
            input.held |= kButtonStart;
    } else {
        if (b == p[ActionJump])
            Release(kButtonJump);
        else if (b == p[ActionPause])
            Release(kButtonPause);
        else if (b == p[ActionStart])
            Release(kButtonStart);
    }
}

} // namespace

void CatchEndSignals()
{
    const sigset_t set = EndSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int EndSignal()
{
    TakeEndSignal();
    return endSignal;
}

void SetPumpHook(void (*hook)())
{
    pumpHook = hook;
}

void PumpEvents()
{
    input.released = 0;
    if (pumpHook)
        pumpHook();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_KEYDOWN:
            HandleKeyDown(e.key.keysym.sym);
            break;
        case SDL_KEYUP:
            HandleKeyUp(e.key.keysym.sym);
            break;
        case SDL_JOYAXISMOTION:
            HandleAxis(e.jaxis.axis, e.jaxis.value);
            break;
        case SDL_JOYHATMOTION:
            HandleHat(e.jhat.value);
            break;
        case SDL_JOYBUTTONDOWN:
            HandlePadButton(e.jbutton.button, true);
            break;
        case SDL_JOYBUTTONUP:
            HandlePadButton(e.jbutton.button, false);
            break;
        case SDL_QUIT:
            input.quitRequest = 1;
            break;
        default:
            break;
        }
    }
    // The system asked the program to end: screens that only know quit requests end too.
    if (EndSignal())
        input.quitRequest = 1;
}
