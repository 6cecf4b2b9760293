#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class VerkeersLeiding;

// Runs a protocol with the real run controller on a virtual clock, as fast
// as the machine goes: each step's optional views are built as the run
// screen builds them, a drone of its own is linked on this machine, no
// sound, DONE pressed on an untimed step after a fixed number of virtual
// seconds, the slider warning answered with "Proceed anyway". The label
// file lands where a real run would put it.
class DryRun
{
public:
    struct Options
    {
        QByteArray protocol;     // the protocol document
        QString participantId;   // digits only
        qint64 untimedSeconds = 5;
        // Given the controller before the run starts.
        std::function<void(VerkeersLeiding &)> watch;
    };

    struct Outcome
    {
        std::optional<QString> labelFilePath; // none without a documents folder
        QString error;                        // set when the run could not be made
    };

    // stateReceived gets every state the drone was shown, in order; each
    // tick waits for the states sent before it.
    static Outcome run(const Options &options, const std::function<void(const QString &)> &stateReceived);
};
