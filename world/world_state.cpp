// The process-wide world state and its status message.
#include "world/world_state.h"

#include <cstring>

void ResetRestartPoint()
{
    world.restartX = kDefaultRestartX;
    world.restartY = kDefaultRestartY;
    world.checkpointTaken = 0;
}

void SetStatusMessage(const char* text)
{
    if (text == nullptr)
        text = "";
    std::strncpy(world.statusMessage, text, kStatusMessageSize - 1);
    world.statusMessage[kStatusMessageSize - 1] = '\0';
}
