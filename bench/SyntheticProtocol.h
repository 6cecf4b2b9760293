#pragma once

#include "model/OptionalViewSettings.h"

#include <QByteArray>
#include <QList>

// Protocol documents made up for the benchmarks: numbered timed steps with
// the usual mix of drone settings and optional views.
class SyntheticProtocol
{
public:
    // steps timed steps of stepSeconds each; with untimedLast, a last step
    // without timer keeps the run going until it is stopped.
    static QByteArray json(int steps, int stepSeconds, bool untimedLast);
    // The same with the views given, one to a step, in turn.
    static QByteArray json(int steps, int stepSeconds, bool untimedLast, const QList<OptionalViewSettings> &views);
    // Every drone-side view that needs no answer from the participant, and
    // the operator-side tasks that run without a device.
    static QList<OptionalViewSettings> everyView();
};
