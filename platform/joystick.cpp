// Opening and querying the first joystick.
#include "platform/joystick.h"

#include <SDL.h>

namespace {
SDL_Joystick* joystick = nullptr;
}

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
    return joystick != nullptr;
}

int JoystickButtonCount()
{
    return joystick ? SDL_JoystickNumButtons(joystick) : 0;
}

int JoystickButton(int button)
{
    return joystick ? SDL_JoystickGetButton(joystick, button) : 0;
}
