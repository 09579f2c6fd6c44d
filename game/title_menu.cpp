// Title stand-in: the drifting title stage with "PRESS START"; start or jump begins stage 1.
#include "game/title_menu.h"

#include <cstdlib>

#include "assets/front_end_images.h"
#include "core/messages.h"
#include "core/sound.h"
#include "game/game_state.h"
#include "game/options_menu.h"
#include "game/screen_layout.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/input.h"
#include "platform/key_capture.h"
#include "world/camera.h"

namespace {

// The logo sits 56 pixels above the screen's centre.
constexpr int kLogoRaise = 56;
// The version line and the prompt, text top edges.
constexpr int kVersionY = 208;
constexpr int kPromptY = 128;
// Sub-steps per scroller character: the line moves half a pixel per frame.
constexpr int kScrollerSteps = 16;

int scrollerOffset = 0;
int scrollerStep = 0;

} // namespace

void TitleStep(Player&)
{
    // The generator keeps moving while the title runs, like the savegame's draws expect.
    (void)std::rand();
    const bool inOptions = game.menuState == kMenuOptionsScreen;
    // The camera stands still while the options screen captures bindings.
    if (!inOptions || !capture.captureActive)
        ScrollView(1);
    if (inOptions) {
        OptionsStep();
        return;
    }
    const uint32_t r = input.released;
    if (game.menuState == kTitlePressStart && (r == kButtonStart || r == kButtonJump)) {
        PlaySound(SoundJipie);
        game.menuState = kMenuNewGame;
        game.leaveTitle = 1;
    }
}

void DrawTitleLayer(int frame)
{
    if (LogoImage)
        BlitAt(LogoImage, (kScreenWidth - SurfaceWidth(LogoImage)) / 2,
               (kScreenHeight - SurfaceHeight(LogoImage)) / 2 - kLogoRaise, screenSurface);
    DrawTextCentred(screenSurface, "FRIBB 3 V1.00", kVersionY, bigFont);
    if (game.menuState == kTitlePressStart && (frame & kBlinkBit) == 0)
        DrawTextCentred(screenSurface, GetText(TXT_PRESS_START), kPromptY, bigFont);
}

void TitleOverlayStep(Player&)
{
    if (game.menuState == kMenuOptionsScreen)
        DrawOptionsLayer();
    if (game.menuState < 0)
        return;
    scrollerStep += 1;
    if (scrollerStep == kScrollerSteps) {
        scrollerStep = 0;
        scrollerOffset += 1;
    }
}

void ResetTitleScroller()
{
    scrollerOffset = 0;
    scrollerStep = 0;
}
