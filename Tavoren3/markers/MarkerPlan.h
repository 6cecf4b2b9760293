#pragma once

#include "markers/Marker.h"
#include "run/VerkeersLeiding.h"

#include <optional>

class Run;

// Which code marks a boundary of the run: the step's numeric id at its
// start, resume and restart, the pause id at a pause, the end code at stop
// and completion. Codes a box cannot carry are kept, so they can be
// reported; an end without an end code has no marker.
class MarkerPlan
{
public:
    static std::optional<Marker> of(VerkeersLeiding::Boundary kind, int stepIndex, const Run &run, int endCode);
};
