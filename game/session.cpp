// The game session (stand-in until the stage loop exists: a cleared screen at 60 frames per second).
#include "game/session.h"

#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"

void RunSession(int)
{
    ResetFrameClock();
    while (!input.quitRequest) {
        PumpEvents();
        if (!frameClock.skipDraw) {
            FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
            PresentScreen();
        }
        WaitFrame();
    }
}
