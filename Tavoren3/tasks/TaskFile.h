#pragma once

#include <QString>
#include <QStringList>

// The one list of task entries shared by the arithmetic task and the
// questionnaire. It starts as the single entry "Ready?" and is never empty.
class TaskFile
{
public:
    static const QStringList &taskLines();

    // Fills taskLines from the named file: the application's own resources
    // first, then "Reken" in the documents folder.
    static void loadTaskFile(const QString &name);

    // Splits at every newline character; empty entries are kept.
    static QStringList splitLines(const QString &text);

    // For tests: back to the state before any load.
    static void reset();
};
