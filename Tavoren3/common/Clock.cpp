#include "common/Clock.h"

namespace {
std::shared_ptr<const Clock> &installed()
{
    static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    return clock;
}
}

const Clock &Clock::current()
{
    return *installed();
}

void Clock::install(std::shared_ptr<const Clock> clock)
{
    installed() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}
