#include "support/ProgramRun.h"

#include <QProcess>

ProgramRun ProgramRun::of(const QString &program, const QStringList &args, int timeoutMs)
{
    QProcess process;
    process.start(program, args);
    const bool finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

QString ProgramRun::cliProgram()
{
    return QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli");
}

ProgramRun ProgramRun::cli(const QStringList &args, int timeoutMs)
{
    return of(cliProgram(), args, timeoutMs);
}

QStringList ProgramRun::outLines() const
{
    QStringList lines = QString::fromUtf8(out).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
