#pragma once

#include "run/TickTimer.h"

#include <QTimer>

// The portable tick: a single-shot precise QTimer, which counts whole
// milliseconds.
class QTimerTickTimer : public TickTimer
{
    Q_OBJECT

public:
    explicit QTimerTickTimer(const MonotonicClock &clock, QObject *parent = nullptr);
    int armedDelayMs() const { return m_timer.interval(); }

protected:
    // The delay is rounded up: a wake-up before the deadline would only arm again.
    void arm(TickSchedule::Duration deadline) override;
    void disarm() override { m_timer.stop(); }

private:
    QTimer m_timer;
};
