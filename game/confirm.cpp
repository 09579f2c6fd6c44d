// The confirm test of the session screens and the release drain between them.
#include "game/confirm.h"

#include "platform/input.h"
#include "platform/tick_source.h"

namespace {
// Screens that only wait for a button look at the input this often.
constexpr uint32_t kDrainPollMs = 100;
// PollInput's stage argument where no stage applies.
constexpr int kNoStage = -1;
} // namespace

int IsConfirmRelease()
{
    const uint32_t r = input.released;
    return (r == kButtonStart || r == kButtonJump || r == kButtonPause) ? 1 : 0;
}

void DrainConfirm()
{
    while (IsConfirmRelease()) {
        PollInput(kNoStage, 0);
        Delay(kDrainPollMs);
    }
}
