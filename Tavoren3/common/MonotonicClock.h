#pragma once

#include <chrono>

// Time on a clock that never jumps (unlike the wall clock), in nanoseconds
// since the clock's own epoch.
class MonotonicClock
{
public:
    virtual ~MonotonicClock() = default;
    virtual std::chrono::nanoseconds now() const = 0;
};

// The system's monotonic clock. On Linux its epoch is that of CLOCK_MONOTONIC,
// so its readings serve as absolute deadlines of that clock.
class SteadyClock : public MonotonicClock
{
public:
    std::chrono::nanoseconds now() const override { return std::chrono::steady_clock::now().time_since_epoch(); }
};
