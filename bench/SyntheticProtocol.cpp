#include "SyntheticProtocol.h"

#include "model/ProtocolWriter.h"
#include "model/Run.h"

QByteArray SyntheticProtocol::json(int steps, int stepSeconds, bool untimedLast)
{
    QList<OptionalViewSettings> views;
    for (const char *name : {"Timer (drone side)", "Text (drone side)", "Breathing (drone side)", "Arithmetic tasks"})
        views.append({QString::fromLatin1(name), {}});
    return json(steps, stepSeconds, untimedLast, views);
}

QList<OptionalViewSettings> SyntheticProtocol::everyView()
{
    const auto view = [](const char *name, const char *parameter) {
        return OptionalViewSettings{QString::fromLatin1(name), {QString::fromLatin1(parameter), std::nullopt}};
    };
    return {view("Timer (drone side)", ""),
            view("Text (drone side)", "Sit still and breathe."),
            view("Breathing (drone side)", "Normal"),
            view("Images (drone side)", "Images.txt"),
            view("Video (drone side)", "06.mp4"),
            view("Arithmetic tasks", "TTR_addition_problems_1.txt"),
            view("Questionnaire (timekeeper side)", "Resting.txt"),
            view("Images (timekeeper side)", "images.txt"),
            view("Climbing", "")};
}

QByteArray SyntheticProtocol::json(int steps, int stepSeconds, bool untimedLast, const QList<OptionalViewSettings> &views)
{
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
        OptionalViewSettings view = views[i % views.size()];
        if (view.Parameters.isEmpty())
            view.Parameters = {QStringLiteral("Parameter of step %1").arg(i + 1), std::nullopt};
        step.optionalViews = QList<OptionalViewSettings>{view};
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
