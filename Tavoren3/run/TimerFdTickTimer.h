#pragma once

#include "run/TickTimer.h"

#include <QSocketNotifier>
#include <memory>

// The tick on Linux: a timerfd armed with absolute CLOCK_MONOTONIC deadlines
// and watched by the main loop, which wakes within microseconds of the due
// time (a QTimer counts whole milliseconds).
class TimerFdTickTimer : public TickTimer
{
    Q_OBJECT

public:
    explicit TimerFdTickTimer(const SteadyClock &clock, QObject *parent = nullptr);
    ~TimerFdTickTimer() override;
    // False when the system gave no timerfd.
    bool isValid() const { return m_fd >= 0; }

protected:
    void arm(TickSchedule::Duration deadline) override;
    void disarm() override;

private:
    void expired();
    void set(TickSchedule::Duration deadline);

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
