#include "ResidentMemory.h"

#include <QCoreApplication>
#include <QFile>

namespace {
qint64 statusField(qint64 pid, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
}

qint64 ResidentMemory::currentKiB(qint64 pid)
{
    return statusField(pid, "VmRSS");
}

qint64 ResidentMemory::peakKiB(qint64 pid)
{
    return statusField(pid, "VmHWM");
}

qint64 ResidentMemory::ownPid()
{
    return QCoreApplication::applicationPid();
}
