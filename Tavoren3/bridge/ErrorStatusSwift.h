#pragma once

#include "bridge/Severity.h"

#include <QString>

// One catalogue entry: the description holds a headline, "|", then an advice.
struct ErrorStatusSwift
{
    QString code;
    QString title;
    QString description;
    Severity severity = Severity::info;

    bool operator==(const ErrorStatusSwift &) const = default;
};
