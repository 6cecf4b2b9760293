#include "common/TaskTimer.h"

#include <QList>

#include <algorithm>

namespace {

bool virtualTimeOn = false;
qint64 virtualNowMs = 0;
QList<TaskTimer *> &virtualTimers()
{
    static QList<TaskTimer *> timers;
    return timers;
}

} // namespace

TaskTimer::TaskTimer(int intervalMs, bool singleShot, QObject *parent)
    : QObject(parent), m_intervalMs(intervalMs), m_singleShot(singleShot)
{
    m_timer.setSingleShot(singleShot);
    connect(&m_timer, &QTimer::timeout, this, &TaskTimer::fire);
}

TaskTimer::~TaskTimer()
{
    virtualTimers().removeAll(this);
}

void TaskTimer::start()
{
    stop();
    m_active = true;
    if (virtualTimeOn) {
        m_virtualDue = virtualNowMs + m_intervalMs;
        virtualTimers().append(this);
    } else {
        m_timer.start(m_intervalMs);
    }
}

void TaskTimer::stop()
{
    m_active = false;
    m_timer.stop();
    virtualTimers().removeAll(this);
}

void TaskTimer::fire()
{
    if (m_singleShot)
        stop();
    emit timeout();
}

void TaskTimer::setVirtualTime(bool on)
{
    virtualTimeOn = on;
}

void TaskTimer::advanceVirtualTime(qint64 ms)
{
    const qint64 end = virtualNowMs + ms;
    for (;;) {
        const QList<TaskTimer *> &timers = virtualTimers();
        const auto next = std::min_element(timers.cbegin(), timers.cend(), [](const TaskTimer *a, const TaskTimer *b) {
            return a->m_virtualDue < b->m_virtualDue;
        });
        if (next == timers.cend() || (*next)->m_virtualDue > end)
            break;
        TaskTimer *timer = *next;
        virtualNowMs = timer->m_virtualDue;
        if (!timer->m_singleShot)
            timer->m_virtualDue += std::max(1, timer->m_intervalMs);
        timer->fire();
    }
    virtualNowMs = end;
}
