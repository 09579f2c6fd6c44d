// The confirm test of the session screens and the release drain between them.
#include "game/confirm.h"

#include "core/stages.h"
#include "game/play_input.h"
#include "game/screen_layout.h"
#include "platform/input.h"
#include "platform/tick_source.h"

int IsConfirmRelease()
{
    const uint32_t r = input.released;
    return (r == kButtonStart || r == kButtonJump || r == kButtonPause) ? 1 : 0;
}

void DrainConfirm()
{
    while (IsConfirmRelease()) {
        PollInput(kNoStage, 0);
        Delay(kWaitPollMs);
    }
}
