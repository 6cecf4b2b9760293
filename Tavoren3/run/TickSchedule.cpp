#include "run/TickSchedule.h"

void TickSchedule::start(Duration now)
{
    m_start = now;
    m_taken = 0;
}

bool TickSchedule::takeDueTick(Duration now)
{
    if (now < nextDue())
        return false;
    ++m_taken;
    return true;
}
