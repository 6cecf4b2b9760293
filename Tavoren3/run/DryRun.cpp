#include "run/DryRun.h"

#include "bridge/BleBackend.h"
#include "common/Clock.h"
#include "common/EventLoopWait.h"
#include "common/TaskTimer.h"
#include "drone/DeviceIdentity.h"
#include "drone/DroneEndpoint.h"
#include "drone/PairedDevices.h"
#include "drone/MultipeerSession.h"
#include "drone/OptionalView.h"
#include "model/ProtocolReader.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/LogTime.h"
#include "run/SoundPlayer.h"
#include "run/VerkeersLeiding.h"
#include "tasks/HapticFeedback.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class SilentSoundPlayer : public SoundPlayer
{
public:
    void playSystemSound(int) override {}
};

class SilentHaptics : public HapticFeedback
{
public:
    void impactOccurred() override {}
};

// A week of virtual time is more than any protocol needs.
constexpr qint64 longestRunSeconds = 7 * 24 * 3600;
// Real time the link to the dry run's own drone may take.
constexpr int linkDeadlineMs = 10000;

} // namespace

DryRun::Outcome DryRun::run(const Options &options, const std::function<void(const QString &)> &stateReceived)
{
    static const QRegularExpression digits(QStringLiteral("\\A[0-9]+\\z"));
    if (!digits.match(options.participantId).hasMatch())
        return {std::nullopt, QStringLiteral("the participant id must consist of digits only")};
    if (options.untimedSeconds < 0)
        return {std::nullopt, QStringLiteral("the untimed step length must not be negative")};
    ProtocolReader::Result decoded = ProtocolReader::decode(options.protocol);
    if (!decoded.run)
        return {std::nullopt, QStringLiteral("the protocol does not decode: ") + decoded.error->description()};

    // The drone is linked on this machine only, and nobody else can find it.
    qputenv("TAVOREN_DISCOVERY", "loopback");
    // Both ends are this process: one identity, paired with itself in a
    // configuration home of its own, so the user's pairings stay untouched.
    const QTemporaryDir configHome;
    if (!configHome.isValid())
        return {std::nullopt, QStringLiteral("no temporary folder for the dry run's own pairing")};
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    const QString ownKey = DeviceIdentity::shared().fingerprint();
    PairedDevices(PairedDevices::inConfigFolder(PairedDevices::dronesFile)).add(ownKey, QStringLiteral("dry run drone"));
    PairedDevices(PairedDevices::inConfigFolder(PairedDevices::timekeepersFile)).add(ownKey, QStringLiteral("dry run"));
    DroneEndpoint drone(QStringLiteral("dry run drone"));
    drone.transport().setAnnouncing(false);
    drone.start();
    qint64 received = 0;
    QObject::connect(&drone, &DroneEndpoint::stateReceived, [&](qint64 sequence, const QString &payload, bool repeat) {
        received = std::max(received, sequence);
        if (!repeat)
            stateReceived(payload);
    });
    MultipeerSession session(QStringLiteral("dry run"));
    session.inviteAddress(QStringLiteral("127.0.0.1:") + QString::number(drone.transport().listeningPort()));
    if (!EventLoopWait::until([&] { return session.isConnected() && drone.connected(); }, linkDeadlineMs))
        return {std::nullopt, QStringLiteral("the dry run's own drone could not be linked on this machine")};

    auto clock = std::make_shared<ManualClock>(QDateTime::currentDateTime());
    Clock::install(clock);
    TaskTimer::setVirtualTime(true);
    BleBackend::setUseSimulator(true);

    CurrentProtocol protocol;
    protocol.currentProtocol()->copyFrom(*decoded.run);
    SilentSoundPlayer sound;
    SilentHaptics haptics;
    VerkeersLeiding controller(session, protocol, sound);
    OptionalView views(controller, session, haptics);

    // Also until the drone has what was sent, so that what the run prints keeps its order.
    const auto settle = [&] {
        QCoreApplication::processEvents();
        EventLoopWait::until([&] { return received >= session.stateSequence(); }, linkDeadlineMs);
    };
    const auto answerSliderWarning = [&] {
        if (!controller.showSliderAdvanceAlert())
            return;
        controller.confirmSliderAdvance();
        settle();
        if (controller.running() && controller.pause())
            controller.togglePause();
        settle();
    };

    if (options.watch)
        options.watch(controller);
    controller.setPPID(options.participantId);
    controller.setRunTimestamp(LogTime::runTimestamp());
    controller.startRun();
    views.appeared();
    settle();
    for (qint64 second = 0; controller.running() && second < longestRunSeconds; ++second) {
        clock->advanceMs(1000);
        controller.tick();
        settle();
        TaskTimer::advanceVirtualTime(1000);
        settle();
        answerSliderWarning();
        const auto step = controller.currentStep();
        if (controller.running() && step && step->duration == 0 && -controller.remainingTime() >= options.untimedSeconds) {
            controller.requestAdvance(controller.pause());
            settle();
            answerSliderWarning();
        }
    }
    views.disappeared();
    const QString fileName = controller.completedLogFileName() + QStringLiteral(".lbl");
    Outcome outcome{LabelFileWriter::labelFilePath(fileName, LabelLog::labelFolderText(protocol.currentProtocolName())),
                    QString()};
    TaskTimer::setVirtualTime(false);
    Clock::install(nullptr);
    if (controller.running())
        outcome.error = QStringLiteral("the protocol did not end within a week of virtual time");
    else if (!EventLoopWait::until([&] { return received >= session.stateSequence(); }, linkDeadlineMs))
        outcome.error = QStringLiteral("the dry run's own drone did not receive every state");
    return outcome;
}
