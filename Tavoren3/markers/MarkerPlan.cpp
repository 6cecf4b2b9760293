#include "markers/MarkerPlan.h"

#include "model/Run.h"

std::optional<Marker> MarkerPlan::of(VerkeersLeiding::Boundary kind, int stepIndex, const Run &run, int endCode)
{
    using Boundary = VerkeersLeiding::Boundary;
    if (kind == Boundary::Stop || kind == Boundary::Completion) {
        if (endCode == 0)
            return std::nullopt;
        return Marker{endCode, kind == Boundary::Stop ? QStringLiteral("stop") : QStringLiteral("completion"), {}};
    }
    const auto step = run.step(stepIndex);
    if (!step)
        return std::nullopt;
    const QString name = QStringLiteral("%1 (%2)").arg(step->labelID).arg(step->numID);
    switch (kind) {
    case Boundary::Pause: return Marker{run.VeskPauseLabel(), QStringLiteral("pause in ") + name, {}};
    case Boundary::Resume: return Marker{step->numID, QStringLiteral("resume of ") + name, {}};
    case Boundary::Restart: return Marker{step->numID, QStringLiteral("restart of ") + name, {}};
    default: break;
    }
    return Marker{step->numID, QStringLiteral("start of ") + name, {}};
}
