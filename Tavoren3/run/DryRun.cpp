#include "run/DryRun.h"

#include "bridge/BleBackend.h"
#include "common/Clock.h"
#include "drone/MultipeerSession.h"
#include "model/ProtocolReader.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/LogTime.h"
#include "run/SoundPlayer.h"
#include "run/VerkeersLeiding.h"

#include <QRegularExpression>

namespace {

class SilentSoundPlayer : public SoundPlayer
{
public:
    void playSystemSound(int) override {}
};

// A week of virtual time is more than any protocol needs.
constexpr qint64 longestRunSeconds = 7 * 24 * 3600;

} // namespace

DryRun::Outcome DryRun::run(const Options &options, const std::function<void(const QString &)> &stateSent)
{
    static const QRegularExpression digits(QStringLiteral("\\A[0-9]+\\z"));
    if (!digits.match(options.participantId).hasMatch())
        return {std::nullopt, QStringLiteral("the participant id must consist of digits only")};
    if (options.untimedSeconds < 0)
        return {std::nullopt, QStringLiteral("the untimed step length must not be negative")};
    ProtocolReader::Result decoded = ProtocolReader::decode(options.protocol);
    if (!decoded.run)
        return {std::nullopt, QStringLiteral("the protocol does not decode: ") + decoded.error->description()};

    auto clock = std::make_shared<ManualClock>(QDateTime::currentDateTime());
    Clock::install(clock);
    BleBackend::setUseSimulator(true);

    CurrentProtocol protocol;
    protocol.currentProtocol()->copyFrom(*decoded.run);
    SilentSoundPlayer sound;
    MultipeerSession session(QStringLiteral("dry run"));
    QObject::connect(&session, &MultipeerSession::stateQueued, stateSent);
    VerkeersLeiding controller(session, protocol, sound);

    const auto answerSliderWarning = [&] {
        if (!controller.showSliderAdvanceAlert())
            return;
        controller.confirmSliderAdvance();
        if (controller.running() && controller.pause())
            controller.togglePause();
    };

    controller.setPPID(options.participantId);
    controller.setRunTimestamp(LogTime::runTimestamp());
    controller.startRun();
    for (qint64 second = 0; controller.running() && second < longestRunSeconds; ++second) {
        clock->advanceMs(1000);
        controller.tick();
        answerSliderWarning();
        const auto step = controller.currentStep();
        if (controller.running() && step && step->duration == 0 && -controller.remainingTime() >= options.untimedSeconds) {
            controller.requestAdvance(controller.pause());
            answerSliderWarning();
        }
    }
    const QString fileName = controller.completedLogFileName() + QStringLiteral(".lbl");
    Outcome outcome{LabelFileWriter::labelFilePath(fileName, LabelLog::labelFolderText(protocol.currentProtocolName())),
                    QString()};
    Clock::install(nullptr);
    if (controller.running())
        outcome.error = QStringLiteral("the protocol did not end within a week of virtual time");
    return outcome;
}
