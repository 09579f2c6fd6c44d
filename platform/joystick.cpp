// Opening and querying the first joystick.
#include "platform/joystick.h"

#include <SDL.h>

namespace {
SDL_Joystick* joystick = nullptr;
int simulatedButtons = 0; // buttons of the simulated joystick, 0 when none
bool simulatedDown[kMaxSimulatedButtons] = {};
} // namespace

void OpenJoystick()
{
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0)
        return;
    joystick = SDL_NumJoysticks() >= 1 ? SDL_JoystickOpen(0) : nullptr;
    SDL_JoystickEventState(SDL_ENABLE);
}

void CloseJoystick()
{
    if (joystick)
        SDL_JoystickClose(joystick);
    joystick = nullptr;
}

bool JoystickPresent()
{
    return simulatedButtons > 0 || joystick != nullptr;
}

int JoystickButtonCount()
{
    if (simulatedButtons > 0)
        return simulatedButtons;
    return joystick ? SDL_JoystickNumButtons(joystick) : 0;
}

int JoystickButton(int button)
{
    if (simulatedButtons > 0)
        return button >= 0 && button < simulatedButtons && simulatedDown[button] ? 1 : 0;
    return joystick ? SDL_JoystickGetButton(joystick, button) : 0;
}

void SimulateJoystick(int buttonCount)
{
    simulatedButtons = buttonCount <= 0 ? 0 : buttonCount > kMaxSimulatedButtons ? kMaxSimulatedButtons : buttonCount;
    for (bool& down : simulatedDown)
        down = false;
}

void SetSimulatedButton(int button, bool down)
{
    if (button >= 0 && button < simulatedButtons)
        simulatedDown[button] = down;
}
