#include "run/LogTime.h"

#include "common/Clock.h"

#include <QLocale>

namespace {
QString format(const char *pattern)
{
    return QLocale::c().toString(Clock::current().now(), QString::fromLatin1(pattern));
}
}

QString LogTime::logTimestamp()
{
    return format("dd-MM-yy/HH:mm:ss.zzz");
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
