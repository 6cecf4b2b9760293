#pragma once

#include <QDateTime>
#include <memory>

// The one source of wall-clock time. Everything that stamps a time reads
// Clock::current(); tests and dry runs install a clock of their own.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    static const Clock &current();
    // Installs a clock for the whole process; nullptr restores the system clock.
    static void install(std::shared_ptr<const Clock> clock);
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override;
};

// A clock that stands still until it is moved.
class ManualClock : public Clock
{
public:
    explicit ManualClock(QDateTime start) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(QDateTime t) { m_now = std::move(t); }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};
