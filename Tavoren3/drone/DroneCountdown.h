#pragma once

#include <QObject>
#include <QTimer>

// Seconds that count down by themselves, one a second, and stop at 0.
class DroneCountdown : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 seconds READ seconds NOTIFY secondsChanged)
    Q_PROPERTY(QString text READ text NOTIFY secondsChanged)

public:
    explicit DroneCountdown(QObject *parent = nullptr);

    qint64 seconds() const { return m_seconds; }
    // "mm:ss".
    QString text() const;
    // Counting, and not held.
    bool isRunning() const { return m_timer.isActive(); }

    // Counts down from seconds (a negative value counts as 0), the next
    // second one second from now.
    void start(qint64 seconds);
    void stop();
    // Holds the count and goes on from it.
    void freeze();
    void thaw();
    // One second has passed.
    void tick();

signals:
    void secondsChanged();
    void reachedZero();

private:
    void setSeconds(qint64 seconds);

    QTimer m_timer;
    qint64 m_seconds = 0;
    bool m_counting = false;
    bool m_frozen = false;
};
