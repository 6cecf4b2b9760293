#pragma once

#include <QtGlobal>

// A process's resident memory as the kernel reports it (/proc/PID/status).
class ResidentMemory
{
public:
    // VmRSS and VmHWM (the peak) in kibibytes; 0 when unreadable.
    static qint64 currentKiB(qint64 pid);
    static qint64 peakKiB(qint64 pid);
    static qint64 ownPid();
};
