// The one way the game stops when something it cannot run without is missing.
#pragma once

// Prints "what: detail\n" on standard output ("unknown" when detail is null)
// and ends the process with exit status 1 through quick_exit, releasing
// nothing: only the handlers registered with at_quick_exit run.
[[noreturn]] void FatalError(const char* what, const char* detail = nullptr);
