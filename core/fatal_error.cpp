// FatalError: message on standard output, exit status 1.
#include "core/fatal_error.h"

#include <cstdio>
#include <cstdlib>

void FatalError(const char* what, const char* detail)
{
    std::printf("%s: %s\n", what, detail ? detail : "unknown");
    std::fflush(stdout);
    // quick_exit runs only what was registered for it: start-up registers
    // SDL_Quit, so a fatal error in full screen gives the desktop its mode back,
    // while nothing of the game's own is released and no destructor runs on
    // half-built state (nor a leak checker on memory released on purpose).
    std::quick_exit(1);
}
