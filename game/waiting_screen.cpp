// The one loop of the screens that wait for the player.
#include "game/waiting_screen.h"

#include "core/stages.h"
#include "game/play_input.h"
#include "game/playfield_render.h"
#include "game/screen_layout.h"
#include "game/session_stop.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/tick_source.h"

namespace {

void ReadInput(WaitInput how)
{
    if (how == WaitInput::Events)
        PumpEvents();
    else if (how == WaitInput::Controls)
        PollInput(kNoStage, 0);
}

} // namespace

void RunWaitingScreen(const WaitingScreen& s)
{
    if (s.pace == WaitPace::Frame && !s.keepsFrameClock)
        ResetFrameClock();
    while (!(s.done && s.done()) && !SessionStopRequested()) {
        if (!s.inputAfterWait)
            ReadInput(s.input);
        if (s.step && !s.step())
            return;
        if (s.pace == WaitPace::Frame)
            PresentFrame();
        else
            Delay(kWaitPollMs);
        if (s.inputAfterWait)
            ReadInput(s.input);
    }
}
