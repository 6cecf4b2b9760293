#include "report/BackgroundProgram.h"

#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <memory>

void BackgroundProgram::run(const QStringList &command, const QByteArray &input, int timeoutMs, QObject *owner,
                            std::function<void(const Outcome &)> done)
{
    auto *process = new QProcess(owner);
    auto *limit = new QTimer(process);
    const auto timedOut = std::make_shared<bool>(false);
    const QPointer<QObject> alive(owner);
    const QString program = command.value(0);
    const auto finish = [process, limit, alive, done](const Outcome &outcome) {
        process->disconnect();
        limit->stop();
        process->deleteLater();
        if (alive)
            done(outcome);
    };

    QObject::connect(process, &QProcess::errorOccurred, process, [=](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish({false, {}, program + QStringLiteral(" could not be started: ") + process->errorString()});
    });
    QObject::connect(process, &QProcess::finished, process, [=](int status, QProcess::ExitStatus exit) {
        Outcome outcome{exit == QProcess::NormalExit && status == 0, process->readAllStandardOutput(), {}};
        const QString errors = QString::fromUtf8(process->readAllStandardError()).trimmed();
        if (*timedOut)
            outcome.failure = QStringLiteral("%1 did not finish within %2 s.").arg(program, QString::number(timeoutMs / 1000));
        else if (!outcome.succeeded)
            outcome.failure = !errors.isEmpty()               ? errors
                              : exit == QProcess::CrashExit ? program + QStringLiteral(" stopped unexpectedly.")
                                                            : QStringLiteral("%1 ended with status %2.").arg(program, QString::number(status));
        finish(outcome);
    });
    limit->setSingleShot(true);
    QObject::connect(limit, &QTimer::timeout, process, [=] {
        *timedOut = true;
        process->kill();
    });
    if (timeoutMs > 0)
        limit->start(timeoutMs);
    process->start(program, command.mid(1));
    if (process->state() == QProcess::NotRunning)
        return; // could not start, already told
    process->write(input);
    process->closeWriteChannel();
}
