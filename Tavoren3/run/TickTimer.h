#pragma once

#include "common/MonotonicClock.h"

#include <QObject>
#include <QTimer>

// The application's one-second tick. Tick k is due k seconds after start on
// the monotonic clock; the timer is re-armed against that schedule after
// every fire, so ticks do not drift, and ticks that fall due while the main
// loop was blocked are delivered at once when it runs again.
class TickTimer : public QObject
{
    Q_OBJECT

public:
    explicit TickTimer(const MonotonicClock &clock, QObject *parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return m_active; }

    // Delivers every tick that is due and arms the timer for the next one.
    void handleTimeout();
    qint64 nextDueMs() const { return m_nextDue; }
    int armedDelayMs() const { return m_timer.interval(); }

signals:
    void tick();

private:
    const MonotonicClock &m_clock;
    QTimer m_timer;
    qint64 m_nextDue = 0;
    bool m_active = false;
};
