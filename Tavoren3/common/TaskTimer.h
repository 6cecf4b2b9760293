#pragma once

#include <QObject>
#include <QTimer>

// A timer of the operator-side tasks (the exercise countdown, the climbing
// lock-out). It runs on the main loop's timers, or, once virtual time is on,
// only as virtual time is advanced, so a dry run or a test can run a task's
// seconds as fast as it likes and in a fixed order.
class TaskTimer : public QObject
{
    Q_OBJECT

public:
    explicit TaskTimer(int intervalMs, bool singleShot = false, QObject *parent = nullptr);
    ~TaskTimer() override;

    void start();
    void stop();
    bool isActive() const { return m_active; }

    // Switches the whole process to virtual time (or back); timers started
    // before keep the time they were started on.
    static void setVirtualTime(bool on);
    // Moves virtual time on, firing every timer that falls due, earliest first.
    static void advanceVirtualTime(qint64 ms);

signals:
    void timeout();

private:
    void fire();

    QTimer m_timer;
    const int m_intervalMs;
    const bool m_singleShot;
    bool m_active = false;
    qint64 m_virtualDue = 0;
};
