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

QString LogTime::eventTimestamp()
{
    return format("yyyy-MM-dd HH:mm:ss.zzz");
}
