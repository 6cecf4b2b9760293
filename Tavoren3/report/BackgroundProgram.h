#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// A program run beside the main thread: its input written, its output
// collected, and done called once on the main thread when it has ended,
// could not start, or was stopped at its time limit.
class BackgroundProgram
{
public:
    struct Outcome
    {
        bool succeeded = false; // ended by itself with status 0
        QByteArray out;
        QString failure; // why not, for people: its error output or what happened
    };

    // command: the program and its arguments. timeoutMs 0: no limit. The
    // process is a child of owner; done is not called once owner is gone.
    static void run(const QStringList &command, const QByteArray &input, int timeoutMs, QObject *owner,
                    std::function<void(const Outcome &)> done);
};
