#include "support/DroneProcess.h"

#include "support/LinkPairing.h"

#include <QDir>
#include <QRegularExpression>

namespace {
const QLatin1String listening("listening on port ");
}

DroneProcess::DroneProcess(const QString &name, const QStringList &extra, Screen screen, Pairing pairing,
                           const QString &configHome)
    : m_configHome(configHome.isEmpty() ? m_ownHome.path() : configHome)
{
    if (pairing == Pairing::withThisProcess)
        LinkPairing::pair(LinkPairing::thisProcessFolder(), configFolder(), QStringLiteral("test timekeeper"), name);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configHome);
    start(QStringLiteral("apps/tavoren-drone/tavoren-drone"),
          QStringList{screen == Screen::none ? "--headless" : "--windowed", "--name", name} + extra, environment);
    waitForLine(listening);
}

DroneProcess::~DroneProcess()
{
    kill();
}

QString DroneProcess::configFolder() const
{
    return QDir(m_configHome).filePath(QStringLiteral("tavoren-drone"));
}

quint16 DroneProcess::port() const
{
    for (const QString &line : lines())
        if (line.startsWith(listening))
            return quint16(line.mid(listening.size()).toUInt());
    return 0;
}

QStringList DroneProcess::states() const
{
    static const QRegularExpression state(QStringLiteral("^state \\d+: (.*)$"));
    QStringList payloads;
    for (const QString &line : lines())
        if (const QRegularExpressionMatch match = state.match(line); match.hasMatch())
            payloads.append(match.captured(1));
    return payloads;
}
