#pragma once

#include "common/MonotonicClock.h"
#include "run/TickSchedule.h"

#include <QObject>
#include <memory>

// The application's one-second tick on the main thread, kept to a
// TickSchedule: each wake-up delivers every tick that is due (ticks that
// fell due while the main loop was blocked come at once, one after the
// other) and arms the timer for the next due time. Subclasses provide the
// timer.
class TickTimer : public QObject
{
    Q_OBJECT

public:
    // The most precise tick this build has: a timerfd where the system
    // offers one, otherwise a QTimer.
    static std::unique_ptr<TickTimer> create(const SteadyClock &clock, QObject *parent = nullptr);

    void start();
    void stop();
    bool isActive() const { return m_active; }
    const TickSchedule &schedule() const { return m_schedule; }

    // Called when the timer wakes.
    void deliverDueTicks();

signals:
    void tick();

protected:
    TickTimer(const MonotonicClock &clock, QObject *parent);
    const MonotonicClock &clock() const { return m_clock; }
    // Wakes deliverDueTicks at the deadline on the monotonic clock, or at
    // once when it has passed.
    virtual void arm(TickSchedule::Duration deadline) = 0;
    virtual void disarm() = 0;

private:
    const MonotonicClock &m_clock;
    TickSchedule m_schedule;
    bool m_active = false;
};
