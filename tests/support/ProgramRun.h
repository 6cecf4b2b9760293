#pragma once

#include <QByteArray>
#include <QStringList>

// Runs one of the project's programs to its end.
struct ProgramRun
{
    int status = -1; // -1: did not start, crashed or timed out
    QByteArray out;
    QByteArray err;

    static ProgramRun of(const QString &program, const QStringList &args, int timeoutMs = 60000);
    // The command-line tool of this build, and a run of it.
    static QString cliProgram();
    static ProgramRun cli(const QStringList &args, int timeoutMs = 60000);
    QStringList outLines() const;
};
