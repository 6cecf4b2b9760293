#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One timekeeper at a time on a documents folder: a lock file beside the
// folder's run record, held while the process lives (a killed holder's
// lock is taken over).
class InstanceLock
{
public:
    // Empty when this process now holds the lock; otherwise why not,
    // naming the timekeeper that holds it.
    QString acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};
