#include "support/LargeProtocol.h"

#include "model/ProtocolWriter.h"
#include "support/TestProtocol.h"

void LargeProtocol::fill(Run &run, const QString &researchName, int stepCount)
{
    QList<DeelTestje> steps;
    steps.reserve(stepCount);
    for (int i = 0; i < stepCount; ++i) {
        DeelTestje step = TestProtocol::step(i, QStringLiteral("Step %1").arg(i), QStringLiteral("rest"), 60,
                                             {{QStringLiteral("Timer (drone side)"), {}}});
        step.description = QStringLiteral("Sit still and breathe calmly until the next step begins.");
        steps.append(step);
    }
    run.setResearchName(researchName);
    run.setVersion(QStringLiteral("1"));
    run.setVeskPauseLabel(1000);
    run.setIDlist({{QStringLiteral("rest"), 1}});
    run.setSteps(steps);
}

QByteArray LargeProtocol::encoded(const QString &researchName, int stepCount)
{
    Run run;
    fill(run, researchName, stepCount);
    return ProtocolWriter::encode(run);
}
