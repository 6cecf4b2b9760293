#include "run/MarkerLogLine.h"

#include "run/LogTime.h"

#include <QRegularExpression>

namespace {

using Boundary = VerkeersLeiding::Boundary;

// What a step's boundaries are called, before the step's name.
const QList<std::pair<Boundary, QString>> stepWords{{Boundary::StepStart, QStringLiteral("start of")},
                                                    {Boundary::Resume, QStringLiteral("resume of")},
                                                    {Boundary::Restart, QStringLiteral("restart of")},
                                                    {Boundary::Pause, QStringLiteral("pause in")}};

} // namespace

QString MarkerLogLine::what(Boundary kind, const QString &label, qint64 numID)
{
    if (kind == Boundary::Stop)
        return QStringLiteral("stop");
    if (kind == Boundary::Completion)
        return QStringLiteral("completion");
    const auto word = std::find_if(stepWords.begin(), stepWords.end(), [kind](const auto &w) { return w.first == kind; });
    return QStringLiteral("%1 %2 (%3)").arg(word->second, label).arg(numID);
}

QString MarkerLogLine::sent(qint64 code, const QString &what)
{
    return QStringLiteral("Marker %1 sent: %2").arg(code).arg(what);
}

QString MarkerLogLine::notSent(qint64 code, const QString &reason, const QString &what)
{
    return QStringLiteral("Marker %1 not sent (%2): %3").arg(code).arg(reason, what);
}

QList<MarkerLogLine::Sent> MarkerLogLine::sentIn(const QByteArray &eventLog)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3})\\tMarker (\\d+) sent: (\\w+ \\w+) .* \\((-?\\d+)\\)$"));
    QList<Sent> markers;
    for (const QString &line : QString::fromUtf8(eventLog).split(QLatin1Char('\n'))) {
        const auto m = form.match(line);
        if (!m.hasMatch())
            continue;
        const auto word = std::find_if(stepWords.begin(), stepWords.end(),
                                       [&](const auto &w) { return w.second == m.captured(3); });
        const auto at = LogTime::readEventTimestamp(m.captured(1));
        if (word != stepWords.end() && at)
            markers.append({*at, m.captured(2).toLongLong(), word->first, m.captured(4)});
    }
    return markers;
}
