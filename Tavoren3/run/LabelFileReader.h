#pragma once

#include "run/LabelSession.h"

#include <QByteArray>
#include <QString>

// Reads a label file back into the session it records. A line that is cut
// off or does not read ends the reading there; the session holds everything
// before it and the error names the line.
class LabelFileReader
{
public:
    static LabelSession read(const QByteArray &bytes);
    // The file at path; none when it cannot be opened (reason set).
    static std::optional<LabelSession> readFile(const QString &path, QString *reason);
    // Adds the task lines of another file (a task's own file of scores)
    // whose times fall within the session.
    static void addTaskLines(LabelSession &session, const QByteArray &taskFile);

private:
    // Steps, pauses and events from the session's lines.
    static void build(LabelSession &session);
};
