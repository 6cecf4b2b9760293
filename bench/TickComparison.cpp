#include "TickComparison.h"

#include <QFile>
#include <QTextStream>
#include <cerrno>
#include <time.h>

namespace {

using Duration = TickComparison::Duration;

Duration monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).split(QLatin1Char(' ')).mid(0, 3).join(QStringLiteral(", "));
}

QString microseconds(Duration d)
{
    return QString::number(double(d.count()) / 1000.0, 'f', 1) + QStringLiteral(" us");
}

} // namespace

TickComparison::TickComparison(Duration firstDue, int count)
    : m_firstDue(firstDue), m_count(count), m_thread([this] { sleepToEachDeadline(); })
{
}

TickComparison::~TickComparison()
{
    if (m_thread.joinable())
        m_thread.join();
}

void TickComparison::sleepToEachDeadline()
{
    for (int k = 0; k < m_count; ++k) {
        const Duration deadline = m_firstDue + k * std::chrono::seconds(1);
        timespec at{};
        at.tv_sec = time_t(deadline.count() / 1'000'000'000);
        at.tv_nsec = long(deadline.count() % 1'000'000'000);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
        }
        m_machine.add(deadline, monotonicNow());
    }
}

void TickComparison::addTick(Duration due, Duration arrival)
{
    if (due >= m_firstDue && !complete())
        m_tick.add(due, arrival);
}

void TickComparison::Wakes::add(Duration due, Duration arrival)
{
    if (count() == 0) {
        firstDue = due;
        firstArrival = arrival;
    }
    lastDue = due;
    lastArrival = arrival;
    lateness.add(double((arrival - due).count()) / 1000.0);
}

QString TickComparison::Wakes::drift() const
{
    const auto seconds = qint64(count()) - 1;
    const Duration span = seconds * std::chrono::seconds(1);
    return QStringLiteral("last due time %1 off the first + %2 s, last arrival %3 off the first + %2 s")
        .arg(microseconds(lastDue - firstDue - span))
        .arg(seconds)
        .arg(microseconds(lastArrival - firstArrival - span));
}

QString TickComparison::report()
{
    if (m_thread.joinable())
        m_thread.join();
    const auto ratio = [](double tick, double machine) { return QString::number(tick / machine, 'f', 2); };
    const double tickP50 = m_tick.lateness.percentile(0.5), tickP99 = m_tick.lateness.percentile(0.99);
    const double machineP50 = m_machine.lateness.percentile(0.5), machineP99 = m_machine.lateness.percentile(0.99);
    const double p99Limit = std::max(500.0, 3 * machineP99);
    QString text;
    QTextStream out(&text);
    out << m_tick.lateness.summary(QStringLiteral("tick lateness")) << "\n"
        << m_machine.lateness.summary(QStringLiteral("clock_nanosleep lateness, same deadlines")) << "\n"
        << "tick / clock_nanosleep: p50 " << ratio(tickP50, machineP50) << "x, p99 " << ratio(tickP99, machineP99)
        << "x\n"
        << "goal p99 <= " << QString::number(p99Limit / 1000.0, 'f', 3) << " ms: "
        << (tickP99 <= p99Limit ? "met" : "NOT met") << "; p50 <= 2x clock_nanosleep p50: "
        << (tickP50 <= 2 * machineP50 ? "met" : "NOT met") << "\n"
        << "drift after " << m_tick.count() << " ticks: " << m_tick.drift() << "\n"
        << "drift after " << m_machine.count() << " clock_nanosleep wakes: " << m_machine.drift() << "\n"
        << "load average at the end (1, 5, 15 min): " << loadAverage() << "\n";
    return text;
}
