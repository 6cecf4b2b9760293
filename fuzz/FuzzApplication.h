#pragma once

// The process the fuzzers run in: one QCoreApplication, discovery kept on
// loopback, a clock fixed at 12:34 and no documents folder, so that an input
// never reaches the network or the disk and behaves the same on every run.
class FuzzApplication
{
public:
    static void ensure();
    // Runs what the last input queued on the main loop.
    static void settle();
};
