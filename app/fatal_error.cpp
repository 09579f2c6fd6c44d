// FatalError: message on standard output, exit status 1.
#include "app/fatal_error.h"

#include <cstdio>
#include <cstdlib>

void FatalError(const char* what, const char* detail)
{
    std::printf("%s: %s\n", what, detail ? detail : "unknown");
    std::fflush(stdout);
    std::_Exit(1);
}
