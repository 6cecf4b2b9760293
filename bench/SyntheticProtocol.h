#pragma once

#include <QByteArray>

// Protocol documents made up for the benchmarks: numbered timed steps with
// the usual mix of drone settings and optional views.
class SyntheticProtocol
{
public:
    // steps timed steps of stepSeconds each; with untimedLast, a last step
    // without timer keeps the run going until it is stopped.
    static QByteArray json(int steps, int stepSeconds, bool untimedLast);
};
