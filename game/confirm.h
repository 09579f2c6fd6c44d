// Confirming a screen with start, jump or pause, and swallowing that release.
#pragma once

// 1 when the button released in the latest pump is start, jump or pause, else 0.
int IsConfirmRelease();

// Pumps input every 100 ms for as long as a confirm release is reported (or
// until the session is asked to stop), so the release that ended one screen
// never acts on the next.
void DrainConfirm();
