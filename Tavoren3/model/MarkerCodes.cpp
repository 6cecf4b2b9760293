#include "model/MarkerCodes.h"

#include "model/Run.h"

#include <QStringList>

QString MarkerCodes::unsendableNote(const Run &run)
{
    QStringList steps;
    for (const DeelTestje &step : run.steps()) {
        if (!sendable(step.numID))
            steps.append(QStringLiteral("%1 (%2)").arg(step.labelID).arg(step.numID));
    }
    QStringList sentences;
    if (steps.size() == 1)
        sentences.append(QStringLiteral("1 step has a numeric id that a trigger box cannot send: ") + steps.first());
    else if (!steps.isEmpty())
        sentences.append(QStringLiteral("%1 steps have numeric ids that a trigger box cannot send: ").arg(steps.size())
                         + steps.join(QStringLiteral(", ")));
    if (!sendable(run.VeskPauseLabel()))
        sentences.append(
            QStringLiteral("The pause id %1 (VeskPauseLabel) is one a trigger box cannot send: pauses get no marker.")
                .arg(run.VeskPauseLabel()));
    return sentences.join(QLatin1Char('\n'));
}
