#pragma once

#include "support/ProgramRun.h"

#include <QString>
#include <optional>

// A small file system of a test's own: the test program runs the current
// test once more in a user and mount namespace, with a tmpfs of a given size
// mounted on a fresh folder; in that run inside() names the folder.
class SmallDisk
{
public:
    // The mounted folder when this process is the run inside; none outside.
    static std::optional<QString> inside();
    // Why such a file system cannot be made here; empty when it can.
    static QString unavailableReason();
    // Runs the current test inside a tmpfs of sizeKb; the run's status is 0
    // when its checks held.
    static ProgramRun runCurrentTestInside(int sizeKb);
    // Whether the run inside ran the one test and it passed.
    static bool passed(const ProgramRun &run);
};
