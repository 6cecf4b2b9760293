#include "run/LogTime.h"

#include "common/Clock.h"

#include <QLocale>

namespace {
QString format(const char *pattern, const QDateTime &time = Clock::current().now())
{
    return QLocale::c().toString(time, QString::fromLatin1(pattern));
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
    return format("yyyy-MM-dd HH:mm:ss.zzz");
}
