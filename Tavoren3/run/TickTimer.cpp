#include "run/TickTimer.h"

#include "common/Console.h"
#include "run/QTimerTickTimer.h"
#ifdef TAVOREN_HAVE_TIMERFD
#include "run/TimerFdTickTimer.h"
#endif

#include <QPointer>

TickTimer::TickTimer(const MonotonicClock &clock, QObject *parent) : QObject(parent), m_clock(clock) {}

std::unique_ptr<TickTimer> TickTimer::create(const SteadyClock &clock, QObject *parent)
{
#ifdef TAVOREN_HAVE_TIMERFD
    auto precise = std::make_unique<TimerFdTickTimer>(clock, parent);
    if (precise->isValid())
        return precise;
    Console::line(QStringLiteral("WARNING: no timerfd, the one-second tick runs on a millisecond timer"));
#endif
    return std::make_unique<QTimerTickTimer>(clock, parent);
}

void TickTimer::start()
{
    m_active = true;
    m_schedule.start(m_clock.now());
    arm(m_schedule.nextDue());
}

void TickTimer::stop()
{
    m_active = false;
    disarm();
}

void TickTimer::deliverDueTicks()
{
    QPointer<TickTimer> self(this);
    while (m_active && m_schedule.takeDueTick(m_clock.now())) {
        emit tick();
        if (!self)
            return;
    }
    if (m_active)
        arm(m_schedule.nextDue());
}
