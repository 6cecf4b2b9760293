#include "support/DroneProcess.h"

#include <QRegularExpression>

namespace {
const QLatin1String listening("listening on port ");
}

DroneProcess::DroneProcess(const QString &name, const QStringList &extra, Screen screen)
{
    start(QStringLiteral("apps/tavoren-drone/tavoren-drone"),
          QStringList{screen == Screen::none ? "--headless" : "--windowed", "--name", name} + extra);
    waitForLine(listening);
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
