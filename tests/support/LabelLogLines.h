#pragma once

#include "run/VerkeersLeiding.h"

#include <QStringList>

// The controller's label log, one entry per line written.
inline QStringList labelLogLines(const VerkeersLeiding &controller)
{
    QStringList lines = controller.LabelLogString().split('\n');
    lines.removeLast();
    return lines;
}
