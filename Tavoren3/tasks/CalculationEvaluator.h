#pragma once

#include <QString>

// The correct result of an arithmetic problem line "left op right closing":
// 0 for an empty line, -999 for one that cannot be evaluated.
class CalculationEvaluator
{
public:
    static qint64 evaluateCalculation(const QString &line);
};
