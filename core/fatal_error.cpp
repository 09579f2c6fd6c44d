// FatalError: message on standard output, exit status 1.
#include "core/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

void FatalError(const char* what, const char* detail)
{
    std::printf("%s: %s\n", what, detail ? detail : "unknown");
#if defined(__SANITIZE_ADDRESS__)
    // A fatal error releases nothing on purpose, and SDL_Quit at exit would
    // orphan what the game still holds; so the leak check of a sanitizer build
    // looks at the process now, while everything is reachable, and not at exit.
    std::fflush(stdout);
    __lsan_do_leak_check();
#endif
    // exit rather than _Exit: the SDL_Quit registered at start-up must still
    // run, so a fatal error in full screen gives the desktop its mode back.
    std::exit(1);
}
