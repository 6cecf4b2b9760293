#include "support/TestProtocol.h"

#include "model/ProtocolWriter.h"
#include "model/Run.h"

DeelTestje TestProtocol::step(qint64 numID, const QString &name, const QString &label, qint64 duration,
                              const QList<OptionalViewSettings> &views)
{
    DeelTestje step;
    step.numID = numID;
    step.name = name;
    step.labelID = label;
    step.duration = duration;
    step.description = name + QStringLiteral(" description");
    if (!views.isEmpty())
        step.optionalViews = views;
    return step;
}

QByteArray TestProtocol::json() const
{
    Run run;
    run.setVersion(version);
    run.setResearchName(researchName);
    run.setUsesDrone(usesDrone);
    if (!description.isEmpty())
        run.setResearchDescription(description);
    run.setSteps(steps);
    return ProtocolWriter::encode(run);
}
