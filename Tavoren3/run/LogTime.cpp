#include "run/LogTime.h"

#include "common/Clock.h"

#include <QLocale>

namespace {
QString format(const char *pattern, const QDateTime &time = Clock::current().now())
{
    return QLocale::c().toString(time, QString::fromLatin1(pattern));
}

std::optional<QDateTime> read(const QString &text, const char *pattern)
{
    const QDateTime time = QLocale::c().toDateTime(text, QString::fromLatin1(pattern));
    if (!time.isValid())
        return std::nullopt;
    return time;
}
}

QString LogTime::logTimestamp()
{
    return logTimestamp(Clock::current().now());
}

QString LogTime::logTimestamp(const QDateTime &time)
{
    return format("dd-MM-yy/HH:mm:ss.zzz", time);
}

std::optional<QDateTime> LogTime::readLogTimestamp(const QString &text)
{
    // Two-digit years read as 19yy; the program writes years from 2000 on.
    auto time = read(text, text.size() == 17 ? "dd-MM-yy/HH:mm:ss" : "dd-MM-yy/HH:mm:ss.zzz");
    if (time)
        *time = time->addYears(100);
    return time;
}

std::optional<QDateTime> LogTime::readRunTimestamp(const QString &text)
{
    return read(text, "yyyyMMdd_HHmmss");
}

QString LogTime::runTimestamp()
{
    return format("yyyyMMdd_HHmmss");
}

QString LogTime::minutesAndSeconds(qint64 seconds)
{
    const qint64 magnitude = seconds < 0 ? -seconds : seconds;
    return QStringLiteral("%1:%2").arg(magnitude / 60, 2, 10, QLatin1Char('0')).arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

QString LogTime::eventTimestamp()
{
    return eventTimestamp(Clock::current().now());
}

QString LogTime::eventTimestamp(const QDateTime &time)
{
    return format("yyyy-MM-dd HH:mm:ss.zzz", time);
}

std::optional<QDateTime> LogTime::readEventTimestamp(const QString &text)
{
    return read(text, "yyyy-MM-dd HH:mm:ss.zzz");
}
