// The session's stop request and the observer that tools install to watch it.
#include "game/session_stop.h"

#include "platform/input.h"

namespace {

SessionObserver observer;
bool stopRequested = false;

} // namespace

void SetSessionObserver(const SessionObserver* o)
{
    observer = o ? *o : SessionObserver{};
}

void RequestSessionStop()
{
    stopRequested = true;
}

bool SessionStopRequested()
{
    return stopRequested || EndSignal() != 0;
}

void ClearSessionStop()
{
    stopRequested = false;
}

void NotifyFrameDone(const Player& h)
{
    if (observer.afterFrame)
        observer.afterFrame(h);
}

void NotifyAttemptEnded(const Player& h, const char* how)
{
    if (observer.attemptEnded)
        observer.attemptEnded(h, how);
}
