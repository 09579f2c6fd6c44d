// Real and virtual millisecond clocks.
#include "platform/tick_source.h"

#include <SDL.h>

namespace {
bool virtualClock = false;
uint32_t virtualNow = 0;
void (*timeListener)(uint32_t) = nullptr;

void StepVirtualTime(uint32_t ms)
{
    virtualNow += ms;
    if (timeListener)
        timeListener(ms);
}
} // namespace

uint32_t GetTicks()
{
    return virtualClock ? virtualNow : SDL_GetTicks();
}

void Delay(uint32_t ms)
{
    if (virtualClock)
        StepVirtualTime(ms);
    else
        SDL_Delay(ms);
}

void UseVirtualClock(uint32_t startTick)
{
    virtualClock = true;
    virtualNow = startTick;
}

void UseRealClock()
{
    virtualClock = false;
}

bool IsVirtualClock()
{
    return virtualClock;
}

void AdvanceVirtualClock(uint32_t ms)
{
    StepVirtualTime(ms);
}

void SetVirtualTimeListener(void (*listener)(uint32_t ms))
{
    timeListener = listener;
}
