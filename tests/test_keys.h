// Test support for input tests: key events pushed into SDL's queue as the keyboard would send them.
#pragma once

#include <SDL.h>

namespace testsupport {

// Queues a key press (down) or release of SDL key symbol sym; returns SDL_PushEvent's result (0 on success).
inline int PushKeyEvent(int sym, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(sym);
    return SDL_PushEvent(&e);
}

} // namespace testsupport
