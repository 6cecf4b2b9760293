#pragma once

#include <functional>

// Runs the main loop until a condition holds, for code that must wait
// without returning to its caller's loop (a command-line run, a benchmark).
class EventLoopWait
{
public:
    // False when the condition still does not hold after timeoutMs.
    static bool until(const std::function<bool()> &condition, int timeoutMs);
};
