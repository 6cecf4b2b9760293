#pragma once

#include <QElapsedTimer>

// Milliseconds on a clock that never jumps (unlike the wall clock).
class MonotonicClock
{
public:
    virtual ~MonotonicClock() = default;
    virtual qint64 elapsedMs() const = 0;
};

class SteadyClock : public MonotonicClock
{
public:
    SteadyClock() { m_timer.start(); }
    qint64 elapsedMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};
