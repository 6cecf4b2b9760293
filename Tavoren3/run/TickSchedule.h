#pragma once

#include <QtGlobal>
#include <chrono>

// When the ticks of the one-second tick fall due: tick k is due k seconds
// after the start on the monotonic clock. Every deadline is counted from
// the start, never from the previous wake-up, so lateness does not add up
// to drift.
class TickSchedule
{
public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration period = std::chrono::seconds(1);

    // Tick 1 falls due one second after now.
    void start(Duration now);
    // True when the next tick is due at now: it is then taken, and the one
    // after it becomes the next.
    bool takeDueTick(Duration now);

    Duration nextDue() const { return dueOf(m_taken + 1); }
    // The due time of the tick taken last (the start before the first).
    Duration lastDue() const { return dueOf(m_taken); }

private:
    Duration dueOf(qint64 tick) const { return m_start + tick * period; }

    Duration m_start{0};
    qint64 m_taken = 0;
};
