#include "run/TimerFdTickTimer.h"

#include "common/Console.h"

#include <cerrno>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

TimerFdTickTimer::TimerFdTickTimer(const SteadyClock &clock, QObject *parent) : TickTimer(clock, parent)
{
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TimerFdTickTimer::expired);
}

TimerFdTickTimer::~TimerFdTickTimer()
{
    m_notifier.reset();
    if (m_fd >= 0)
        close(m_fd);
}

void TimerFdTickTimer::expired()
{
    // Reading the expiry count makes the descriptor quiet until the next deadline.
    quint64 expiries = 0;
    [[maybe_unused]] const ssize_t bytes = ::read(m_fd, &expiries, sizeof expiries);
    deliverDueTicks();
}

void TimerFdTickTimer::arm(TickSchedule::Duration deadline)
{
    set(deadline);
}

void TimerFdTickTimer::disarm()
{
    set(TickSchedule::Duration(0)); // a zero time disarms
}

void TimerFdTickTimer::set(TickSchedule::Duration deadline)
{
    if (m_fd < 0)
        return;
    itimerspec spec{};
    spec.it_value.tv_sec = time_t(deadline.count() / 1'000'000'000);
    spec.it_value.tv_nsec = long(deadline.count() % 1'000'000'000);
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0)
        Console::line(QStringLiteral("WARNING: the one-second tick could not be set: ")
                      + QString::fromLocal8Bit(std::strerror(errno)));
}
