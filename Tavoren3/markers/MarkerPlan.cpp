#include "markers/MarkerPlan.h"

#include "model/Run.h"
#include "run/MarkerLogLine.h"

std::optional<Marker> MarkerPlan::of(VerkeersLeiding::Boundary kind, int stepIndex, const Run &run, int endCode)
{
    using Boundary = VerkeersLeiding::Boundary;
    if (kind == Boundary::Stop || kind == Boundary::Completion) {
        if (endCode == 0)
            return std::nullopt;
        return Marker{endCode, MarkerLogLine::what(kind, {}, 0), {}};
    }
    const auto step = run.step(stepIndex);
    if (!step)
        return std::nullopt;
    return Marker{kind == Boundary::Pause ? run.VeskPauseLabel() : step->numID,
                  MarkerLogLine::what(kind, step->labelID, step->numID), {}};
}
