#pragma once

#include <QString>

// The short label of a step and how it follows the step's title.
class StepLabel
{
public:
    // Spaces become "_", everything but letters, digits and "_" goes, and
    // runs of "_" become one. Leading and trailing "_" stay.
    static QString derived(const QString &text);

    // A label nobody typed: empty, a placeholder, or derived from the title.
    static bool isAutomatic(const QString &label, const QString &title);

    // The placeholders new steps used to carry.
    static bool isPlaceholder(const QString &label);
};
