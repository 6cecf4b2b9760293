#include "run/TickTimer.h"

#include <QPointer>

TickTimer::TickTimer(const MonotonicClock &clock, QObject *parent) : QObject(parent), m_clock(clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickTimer::handleTimeout);
}

void TickTimer::start()
{
    m_active = true;
    m_nextDue = m_clock.elapsedMs() + 1000;
    m_timer.start(1000);
}

void TickTimer::stop()
{
    m_active = false;
    m_timer.stop();
}

void TickTimer::handleTimeout()
{
    QPointer<TickTimer> self(this);
    while (m_active && m_clock.elapsedMs() >= m_nextDue) {
        m_nextDue += 1000;
        emit tick();
        if (!self)
            return;
    }
    if (m_active)
        m_timer.start(int(std::max<qint64>(0, m_nextDue - m_clock.elapsedMs())));
}
