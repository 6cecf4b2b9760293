#include "run/QTimerTickTimer.h"

QTimerTickTimer::QTimerTickTimer(const MonotonicClock &clock, QObject *parent) : TickTimer(clock, parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickTimer::deliverDueTicks);
}

void QTimerTickTimer::arm(TickSchedule::Duration deadline)
{
    const auto delay = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock().now());
    m_timer.start(std::max<std::chrono::milliseconds>(delay, std::chrono::milliseconds(0)));
}
