#include "run/InstanceLock.h"

#include "common/DocumentsFolder.h"
#include "run/RunRecord.h"

QString InstanceLock::acquire()
{
    const auto path = RunRecord::filePath(".lock");
    if (!path)
        return QString();
    m_lock = std::make_unique<QLockFile>(*path);
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return QString();
    qint64 pid = 0;
    QString host, application;
    m_lock->getLockInfo(&pid, &host, &application);
    m_lock.reset();
    return QStringLiteral("Another timekeeper (%1, process %2 on %3) is already running on the documents folder %4. "
                          "Only one timekeeper at a time can use a documents folder.")
        .arg(application.isEmpty() ? QStringLiteral("tavoren") : application)
        .arg(pid)
        .arg(host, DocumentsFolder::path().value_or(QString()));
}
