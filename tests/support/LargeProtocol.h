#pragma once

#include "model/ProtocolWriter.h"
#include "support/TestProtocol.h"

// A protocol of many plain steps, for files that take a while to write.
struct LargeProtocol
{
    // Gives run this name, version "1" and stepCount rest steps.
    static void fill(Run &run, const QString &researchName, int stepCount)
    {
        QList<DeelTestje> steps;
        for (int i = 0; i < stepCount; ++i) {
            steps.append(TestProtocol::step(i, QString("Step %1").arg(i), "rest", 60, {{"Timer (drone side)", {}}}));
            steps.last().description = QStringLiteral("Sit still and breathe calmly until the next step begins.");
        }
        run.setResearchName(researchName);
        run.setVersion(QStringLiteral("1"));
        run.setVeskPauseLabel(1000);
        run.setIDlist({{QStringLiteral("rest"), 1}});
        run.setSteps(steps);
    }

    static QByteArray encoded(const QString &researchName, int stepCount)
    {
        Run run;
        fill(run, researchName, stepCount);
        return ProtocolWriter::encode(run);
    }
};
