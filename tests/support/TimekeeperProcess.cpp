#include "support/TimekeeperProcess.h"

#include "drone/DeviceIdentity.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTest>
#include <QUrl>

TimekeeperProcess::TimekeeperProcess(const QString &documents, const QString &configHome, const QStringList &launcher,
                                     const QStringList &arguments)
    : m_configHome(configHome.isEmpty() ? m_settings.path() : configHome)
{
    const DeviceIdentity identity(configFolder());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configHome);
    const QString program = QDir(QStringLiteral(TAVOREN_BINARY_DIR)).filePath(QStringLiteral("apps/tavoren/tavoren"));
    const QStringList args = QStringList{"--headless", "--documents", documents, "--manifest",
                                         QUrl::fromLocalFile(QDir(m_configHome).filePath("no-manifest.plist")).toString()}
                             + arguments;
    if (launcher.isEmpty())
        start(program, args, environment);
    else
        start(launcher.first(), launcher.mid(1) + QStringList{program} + args, environment);
}

QString TimekeeperProcess::configFolder() const
{
    return QDir(m_configHome).filePath(QStringLiteral("tavoren"));
}

QString TimekeeperProcess::text(const QString &objectName)
{
    const QString answer = ask("text " + objectName);
    const QString prefix = "text " + objectName + ": ";
    return answer.startsWith(prefix) ? answer.mid(prefix.size()) : QString();
}

bool TimekeeperProcess::waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QTest::qWait(100);
    }
    return condition();
}
