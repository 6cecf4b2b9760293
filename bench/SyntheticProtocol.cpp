#include "SyntheticProtocol.h"

#include "model/ProtocolWriter.h"
#include "model/Run.h"

QByteArray SyntheticProtocol::json(int steps, int stepSeconds, bool untimedLast)
{
    static const QStringList views{QStringLiteral("Timer (drone side)"), QStringLiteral("Text (drone side)"),
                                   QStringLiteral("Breathing (drone side)"), QStringLiteral("Arithmetic tasks")};
    QList<DeelTestje> list;
    for (int i = 0; i < steps + (untimedLast ? 1 : 0); ++i) {
        DeelTestje step;
        step.numID = i + 1;
        step.name = QStringLiteral("Step %1").arg(i + 1);
        step.description = QStringLiteral("Instructions for step %1: sit still, look at the screen and breathe.").arg(i + 1);
        step.duration = i < steps ? stepSeconds : 0;
        step.autoContinue = false;
        step.aloud_silent = false;
        step.read_noread = i % 2 == 0;
        step.labelID = QStringLiteral("step%1").arg(i + 1);
        step.drone = QList<DroneSettings>{DroneSettings{QStringLiteral("timer"), QString::number(stepSeconds)}};
        const QString &view = views[i % views.size()];
        step.optionalViews = QList<OptionalViewSettings>{
            OptionalViewSettings{view, {QStringLiteral("Parameter of step %1").arg(i + 1), std::nullopt}}};
        list.append(step);
    }
    Run run;
    run.setVersion(QStringLiteral("1.0"));
    run.setResearchName(QStringLiteral("Benchmark"));
    run.setVeskPauseLabel(999);
    run.setUsesDrone(true);
    run.setSteps(list);
    return ProtocolWriter::encode(run);
}
