// The intro scene table, the loop that plays it, and the warning and credits scenes.
#include "app/intro_scenes.h"

#include <cstddef>

#include "app/maker_scene.h"
#include "core/geometry.h"
#include "core/messages.h"
#include "game/session_stop.h"
#include "game/waiting_screen.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "platform/input.h"

namespace {

// One line of a text scene: which message, in which font, at which top edge.
struct SceneLine {
    int text;
    bool big;
    int y;
};

constexpr SceneLine kWarningLines[] = {
    {TXT_ATTENTION, true, 40},   {TXT_WARNING_0, false, 90},  {TXT_WARNING_1, false, 110},
    {TXT_WARNING_2, false, 120}, {TXT_WARNING_3, false, 130}, {TXT_WARNING_4, false, 150},
    {TXT_WARNING_5, false, 160}, {TXT_WARNING_6, false, 170}, {TXT_PRESS_UP_TO_GO_ON, false, 200},
};

constexpr SceneLine kCreditsLines[] = {
    {TXT_CREDITS, true, 40},     {TXT_CREDITS_1, false, 80},          {TXT_CREDITS_2, false, 90},
    {TXT_CREDITS_3, false, 100}, {TXT_CREDITS_4, false, 120},         {TXT_CREDITS_5, false, 130},
    {TXT_CREDITS_6, false, 150}, {TXT_CREDITS_7, false, 160},         {TXT_CREDITS_8, false, 170},
    {TXT_CREDITS_9, false, 180}, {TXT_PRESS_UP_TO_GO_ON, false, 210},
};

template <size_t N>
void DrawLines(SDL_Surface* target, const SceneLine (&lines)[N])
{
    FillRect(target, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);
    for (const SceneLine& line : lines)
        DrawTextCentred(target, GetText(line.text), line.y, line.big ? bigFont : smallFont);
}

int Nothing()
{
    return 0;
}

int DrawWarning(SDL_Surface* target)
{
    DrawLines(target, kWarningLines);
    return 0;
}

int DrawCredits(SDL_Surface* target)
{
    DrawLines(target, kCreditsLines);
    return 0;
}

} // namespace

const Scene SceneTable[] = {
    {"vexo", MakerSceneInit, MakerSceneDeinit, MakerSceneUpdate, MakerSceneDraw},
    {"warning", Nothing, Nothing, ConfirmToGoOn, DrawWarning},
    {"opensource", Nothing, Nothing, ConfirmToGoOn, DrawCredits},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int ConfirmToGoOn()
{
    return (input.released == kButtonUp || input.released == kButtonJump) ? 1 : 0;
}

void RunScenes(int first)
{
    for (int i = first; SceneTable[i].name; ++i) {
        const Scene& scene = SceneTable[i];
        input.released = 0;
        scene.init();
        // A quit request (Escape, the window's close button, SIGTERM) ends the intro at once: the
        // session is skipped anyway, and a text scene would otherwise wait for a key forever. A tool
        // that stops the run (replays) ends it too.
        if (input.quitRequest || SessionStopRequested()) {
            scene.deinit();
            return;
        }
        // Each frame: the scene moves on, is drawn and shown, and the input read for the next.
        WaitingScreen frames;
        frames.done = [&scene] { return scene.update() != 0 || input.quitRequest; };
        frames.step = [&scene] {
            if (!frameClock.skipDraw)
                scene.draw(screenSurface);
            return true;
        };
        frames.input = WaitInput::Events;
        frames.pace = WaitPace::Frame;
        frames.inputAfterWait = true;
        RunWaitingScreen(frames);
        scene.deinit();
    }
}
