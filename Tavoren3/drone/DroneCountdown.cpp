#include "drone/DroneCountdown.h"

#include "run/LogTime.h"

DroneCountdown::DroneCountdown(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(1000);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &DroneCountdown::tick);
}

QString DroneCountdown::text() const
{
    return LogTime::minutesAndSeconds(m_seconds);
}

void DroneCountdown::start(qint64 seconds)
{
    setSeconds(std::max<qint64>(0, seconds));
    m_counting = m_seconds > 0;
    m_frozen = false;
    if (m_counting)
        m_timer.start();
    else
        m_timer.stop();
}

void DroneCountdown::stop()
{
    m_counting = false;
    m_timer.stop();
}

void DroneCountdown::freeze()
{
    m_frozen = true;
    m_timer.stop();
}

void DroneCountdown::thaw()
{
    m_frozen = false;
    if (m_counting && !m_timer.isActive())
        m_timer.start();
}

void DroneCountdown::tick()
{
    if (!m_counting || m_frozen)
        return;
    setSeconds(m_seconds - 1);
    if (m_seconds > 0)
        return;
    stop();
    emit reachedZero();
}

void DroneCountdown::setSeconds(qint64 seconds)
{
    if (seconds == m_seconds)
        return;
    m_seconds = seconds;
    emit secondsChanged();
}
