// FatalError: message on standard output, exit status 1.
#include "core/fatal_error.h"

#include <cstdio>
#include <cstdlib>

void FatalError(const char* what, const char* detail)
{
    std::printf("%s: %s\n", what, detail ? detail : "unknown");
    // exit rather than _Exit: the SDL_Quit registered at start-up must still
    // run, so a fatal error in full screen gives the desktop its mode back.
    std::exit(1);
}
