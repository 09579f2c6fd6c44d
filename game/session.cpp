// The game session (stand-in until the stage loop exists: the background, the logo and the start call).
#include "game/session.h"

#include "app/messages.h"
#include "assets/front_end_images.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"

namespace {

// The logo sits 56 pixels above the screen's centre; the start call blinks 32 frames on, 32 off.
constexpr int kLogoRaise = 56;
constexpr int kStartCallY = 128;
constexpr int kBlinkBit = 0x20;

// The background strip repeats to the right, drifting left half a pixel per frame.
void DrawBackground(int frame)
{
    FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
    const int width = SurfaceWidth(BackImage);
    if (width <= 0)
        return;
    for (int x = -((frame >> 1) % width); x < kScreenWidth; x += width)
        BlitAt(BackImage, x, 0, screenSurface);
    FillRect(screenSurface, 0, kPlayfieldHeight, kScreenWidth, kScreenHeight - kPlayfieldHeight, ColorBlack);
}

void DrawTitle(int frame)
{
    DrawBackground(frame);
    BlitAt(LogoImage, (kScreenWidth - SurfaceWidth(LogoImage)) / 2,
           (kScreenHeight - SurfaceHeight(LogoImage)) / 2 - kLogoRaise, screenSurface);
    if (!(frame & kBlinkBit))
        DrawTextCentred(screenSurface, GetText(TXT_PRESS_START), kStartCallY, bigFont);
}

} // namespace

void RunSession(int)
{
    ResetFrameClock();
    for (int frame = 0; !input.quitRequest; ++frame) {
        PumpEvents();
        if (!frameClock.skipDraw) {
            DrawTitle(frame);
            PresentScreen();
        }
        WaitFrame();
    }
}
