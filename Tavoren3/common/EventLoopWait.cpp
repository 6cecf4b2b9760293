#include "common/EventLoopWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

bool EventLoopWait::until(const std::function<bool()> &condition, int timeoutMs)
{
    // Wakes the loop now and then, so the deadline is seen without events.
    QTimer wake;
    wake.start(20);
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}
