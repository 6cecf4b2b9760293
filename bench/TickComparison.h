#pragma once

#include "Samples.h"

#include <QString>
#include <chrono>
#include <thread>

// The lateness of the application's tick beside the machine's own limit in
// the same seconds: a thread of its own sleeps with clock_nanosleep to the
// same absolute CLOCK_MONOTONIC deadlines, one second apart, and measures
// how late it wakes.
class TickComparison
{
public:
    using Duration = std::chrono::nanoseconds;

    // Follows `count` ticks, the first due at firstDue (CLOCK_MONOTONIC).
    TickComparison(Duration firstDue, int count);
    ~TickComparison();
    TickComparison(const TickComparison &) = delete;
    TickComparison &operator=(const TickComparison &) = delete;

    // A tick due at `due` arrived at `arrival`; ticks due before the first
    // followed one are left out.
    void addTick(Duration due, Duration arrival);
    bool complete() const { return int(m_tick.count()) >= m_count; }
    // Waits for the thread, then: both distributions, their ratios, the
    // goal, the drift after the ticks followed and the load average.
    QString report();

private:
    // Lateness and drift of one kind of wake-up.
    struct Wakes
    {
        void add(Duration due, Duration arrival);
        // Drift after the wake-ups, one second apart: how far the last due
        // time and the last arrival lie from the first ones plus the seconds
        // between them.
        QString drift() const;
        std::size_t count() const { return lateness.count(); }

        Samples lateness;
        Duration firstDue{0}, lastDue{0}, firstArrival{0}, lastArrival{0};
    };

    void sleepToEachDeadline();

    Duration m_firstDue;
    int m_count;
    Wakes m_tick;
    Wakes m_machine;
    std::thread m_thread;
};
