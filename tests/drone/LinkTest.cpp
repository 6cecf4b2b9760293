#include "drone/DroneFixture.h"
#include "drone/OptionalView.h"
#include "drone/PeerBrowserView2.h"
#include "run/DroneStateText.h"
#include "run/LabelFileWriter.h"
#include "run/RunFixture.h"
#include "run/WorkingViewModel.h"
#include "tasks/HapticFeedback.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gmock/gmock.h>

namespace {

// A timekeeper in this process, no remembered drone, with the run screen's
// models that talk to the drone, against real drones.
class LinkFault : public RunFixture
{
protected:
    LinkFault() { QSettings().clear(); }

    // Sends a command and waits until the drone has read it: the rating
    // that follows it comes back only then.
    bool steer(DroneProcess &drone, const QString &command)
    {
        const QString rating = QString::number(++m_ratings);
        drone.command(command + QStringLiteral("\nslider ") + rating);
        return waitFor([&] { return session.receivedMessage() == QStringLiteral("Slider value is: ") + rating; });
    }

    int consoleCount(const QString &line, qint64 n) const { return int(console.lines().count(line.arg(n))); }

    void startRun(const QList<DeelTestje> &steps)
    {
        useSteps(steps);
        startAt();
        working = std::make_unique<WorkingViewModel>(controller, session);
        views = std::make_unique<OptionalView>(controller, session, haptics);
        views->appeared();
        QObject::connect(&ticker, &QTimer::timeout, &controller, &VerkeersLeiding::tick);
        ticker.start(1000);
    }
    // The label file that the same steps get from a run without any drone,
    // ticked by hand on the same clock.
    QByteArray labelFileWithoutDrone()
    {
        MultipeerSession alone(QStringLiteral("alone"));
        CountingSoundPlayer quiet;
        VerkeersLeiding reference(alone, protocol, quiet);
        reference.setPPID(QStringLiteral("42"));
        reference.setRunTimestamp(QStringLiteral("reference"));
        reference.startRun();
        while (reference.running())
            reference.tick();
        return labelFile(reference);
    }
    static QByteArray labelFile(const VerkeersLeiding &completed)
    {
        QFile file(*LabelFileWriter::labelFilePath(completed.completedLogFileName() + ".lbl", "Study"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    HapticFeedback haptics;
    QTimer ticker; // the application's tick
    std::unique_ptr<WorkingViewModel> working;
    std::unique_ptr<OptionalView> views;

private:
    int m_ratings = 0;
};

using Link = LinkFault;

// Forwards one TCP link and keeps every byte that passes.
class RecordingProxy : public QObject
{
public:
    explicit RecordingProxy(quint16 target)
    {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this, target] {
            QTcpSocket *client = server.nextPendingConnection();
            auto *upstream = new QTcpSocket(this);
            upstream->connectToHost(QHostAddress::LocalHost, target);
            for (const auto &[from, to] : {std::pair(client, upstream), std::pair(upstream, client)})
                connect(from, &QTcpSocket::readyRead, this, [this, from, to] {
                    const QByteArray bytes = from->readAll();
                    wire += bytes;
                    to->write(bytes);
                });
        });
    }
    QTcpServer server;
    QByteArray wire;
};

// The drone chooser of the start screen, shown, beside a run.
class Chooser : public LinkFault
{
protected:
    Chooser() { sheet.setPresented(true); }

    QList<PeerChoiceList::Choice> choices() { return sheet.peers()->choices(); }

    // Picks the drone listed under this label; true once it is the one linked.
    bool pick(const QString &label)
    {
        for (const PeerChoiceList::Choice &choice : choices()) {
            if (choice.label != label)
                continue;
            sheet.invite(choice.peerId);
            return waitFor([&] {
                const QList<PeerId> peers = session.connectedPeers();
                return peers.size() == 1 && peers.first().id == choice.peerId;
            });
        }
        return false;
    }

    // Whether this drone process is the one the session sends to.
    bool receivesStates(DroneProcess &drone, const QString &text)
    {
        session.sendState("text: " + text);
        return drone.waitForLine("state " + QString::number(session.stateSequence()) + ": text: " + text)
            && waitFor([&] { return session.lastAckedSequence() == session.stateSequence(); });
    }

    PeerBrowserView2 sheet{session};
};

// How the drone treats its acknowledgements, and what each state then gets.
struct AckFault
{
    const char *name;
    const char *command;
    int transmissions;   // the drone's lines for each state: 2 is one resend
    int acksReceived;    // "Received ACK" lines for each state
    bool acknowledged;   // whether the session counts the states as acknowledged
};

class AcknowledgementFault : public LinkFault, public ::testing::WithParamInterface<AckFault>
{
};

} // namespace

// Auto-invite switched off is the chooser's and the disconnect's case.
TEST_F(Link, AnUnpairedDroneIsNeitherInvitedNorAskedToPair)
{
    DroneProcess stranger("stranger", {}, DroneProcess::Screen::none, DroneProcess::Pairing::none);
    discover(session);
    ASSERT_TRUE(waitFor([&] { return session.foundPeers().size() == 1; }));
    EXPECT_EQ(session.foundPeers().first().peer.displayName, "stranger");
    QTest::qWait(quietMs);
    EXPECT_FALSE(session.isConnected());
    EXPECT_EQ(stranger.lines().filter("pairing code"), QStringList());
}

TEST_F(Chooser, ALostDroneIsInvitedAgainByItsKeyToldTheRunIsDoneAndListedOnce)
{
    useSteps({step(1, "only", 0)});
    WorkingViewModel runScreen(controller, session);
    QTemporaryDir droneHome; // the drone keeps its key across the restart
    const auto startDrone = [&] {
        return std::make_unique<DroneProcess>("Lab drone", QStringList{}, DroneProcess::Screen::none,
                                              DroneProcess::Pairing::withThisProcess, droneHome.path());
    };
    auto drone = startDrone();
    discover(session);
    ASSERT_TRUE(connectedTo(session, "Lab drone"));
    EXPECT_EQ(QSettings().value("LastConnectedDroneName").toString(), "Lab drone");
    EXPECT_FALSE(session.transport().isAdvertising()) << "linked: it stops looking";
    EXPECT_FALSE(session.transport().isBrowsing());
    EXPECT_TRUE(documents.read("log.lbl").contains("\tConnecting\n") && documents.read("log.lbl").contains("\tConnected\n"));
    startAt();
    controller.requestAdvance(false);
    ASSERT_TRUE(controller.isCompleted());

    drone->kill();
    ASSERT_TRUE(waitFor([&] { return session.connectedPeerNames().isEmpty(); }));
    EXPECT_EQ(session.state(), MultipeerSessionState::notConnected);
    EXPECT_TRUE(session.transport().isAdvertising());
    EXPECT_TRUE(session.transport().isBrowsing());
    drone = startDrone();
    ASSERT_TRUE(connectedTo(session, "Lab drone")) << "invited again by its remembered key";
    EXPECT_TRUE(console.contains("Found paired drone 'Lab drone', auto\u2011inviting it"));
    ASSERT_TRUE(waitFor([&] { return session.lastAckedSequence() == session.stateSequence(); }));
    EXPECT_EQ(drone->states(), QStringList{"done"}) << "a drone back after the last step: the run is over";

    // "Change drone": the link is dropped and the operator chooses.
    session.cancelAllConnections();
    session.setAutoInvite(false);
    // The killed drone's entry goes once its announcements stop.
    ASSERT_TRUE(waitFor([&] { return !session.isConnected() && choices().size() == 1; }));
    EXPECT_EQ(choices().first().label, "Lab drone");
    ASSERT_TRUE(pick("Lab drone"));
    EXPECT_TRUE(receivesStates(*drone, "the live one"));
}

TEST_F(Chooser, TwoDronesOfOneNameAreBothListedAndEitherCanBeLinked)
{
    DroneProcess first("Twin");
    DroneProcess second("Twin", {}, DroneProcess::Screen::window); // the drone with its window works alike
    ASSERT_TRUE(waitFor([&] { return choices().size() == 2; }));
    const auto labelOf = [](DroneProcess &drone) {
        return QStringLiteral("Twin (127.0.0.1:%1)").arg(drone.port());
    };
    QStringList labels{choices().at(0).label, choices().at(1).label};
    ASSERT_THAT(labels, ::testing::UnorderedElementsAre(labelOf(first), labelOf(second)));

    ASSERT_TRUE(pick(labelOf(second)));
    EXPECT_TRUE(receivesStates(second, "to the second"));
    ASSERT_TRUE(pick(labelOf(first)));
    EXPECT_TRUE(receivesStates(first, "to the first"));
    EXPECT_EQ(session.connectedPeers().size(), 1) << "one drone at a time";
    EXPECT_EQ(QSettings().value("LastConnectedDroneName").toString(), "Twin");
}

TEST_F(Link, ReachedByAddressWhenDiscoveryIsBlockedAndEncryptedOnTheWire)
{
    DroneProcess drone("drone-four");
    RecordingProxy proxy(drone.port());
    EXPECT_FALSE(session.inviteAddress("no address"));
    ASSERT_TRUE(session.inviteAddress(QStringLiteral("127.0.0.1:%1").arg(proxy.server.serverPort())));
    ASSERT_TRUE(connectedTo(session, "drone-four"));
    session.sendState("text: a secret instruction for the participant");
    ASSERT_TRUE(drone.waitForLine("state 1: text: a secret instruction for the participant"));
    ASSERT_TRUE(waitFor([&] { return session.lastAckedSequence() == 1; }));
    EXPECT_GT(proxy.wire.size(), 200);
    for (const char *plain : {"secret instruction", "@State", "@Ack"})
        EXPECT_FALSE(proxy.wire.contains(plain)) << plain;
}

TEST_P(AcknowledgementFault, EachStateIsResentOnceAtMostAndTheLinkWorksOn)
{
    const AckFault &fault = GetParam();
    DroneProcess drone("ack-drone");
    discover(session);
    ASSERT_TRUE(connectedTo(session, "ack-drone"));
    ASSERT_TRUE(steer(drone, fault.command));
    const qint64 first = session.stateSequence() + 1;
    const QStringList payloads{"text: one", "breathing: 2.5, 0.0, 2.5, 0.0", "black"};
    QElapsedTimer sent;
    sent.start();
    for (const QString &payload : payloads)
        session.sendState(payload);
    const qint64 last = first + 2;
    const auto transmissions = [&](qint64 n) {
        return drone.lines().filter(QRegularExpression(QStringLiteral("^state %1( again)?: ").arg(n)));
    };
    ASSERT_TRUE(waitFor([&] {
        return transmissions(last).size() == fault.transmissions
            && consoleCount("Received ACK for state seq %1", last) == fault.acksReceived;
    }));
    if (fault.transmissions == 2) {
        EXPECT_GE(sent.elapsed(), MultipeerSession::ackDelayMs - 50) << "the resend waits for the check";
    }
    QTest::qWait(quietMs); // long enough for a second resend

    for (qint64 i = 0; i < payloads.size(); ++i) {
        const qint64 n = first + i;
        QStringList expected{QStringLiteral("state %1: ").arg(n) + payloads.at(i)};
        if (fault.transmissions == 2)
            expected.append(QStringLiteral("state %1 again: ").arg(n) + payloads.at(i));
        EXPECT_EQ(transmissions(n), expected);
        EXPECT_EQ(consoleCount("No ACK for state seq %1 after 0.7s, resending once", n), fault.transmissions - 1);
        EXPECT_EQ(consoleCount("Received ACK for state seq %1", n), fault.acksReceived);
    }
    EXPECT_EQ(session.lastAckedSequence(), fault.acknowledged ? last : first - 1);
    EXPECT_EQ(drone.lines().filter(QRegularExpression("^state [0-9]+: ")).last(),
              QStringLiteral("state %1: black").arg(last))
        << "resends come after the newest state and do not replace it";
    EXPECT_FALSE(console.anyStartsWith("WARNING: "));

    session.sendState("text: after the fault");
    EXPECT_TRUE(waitFor([&] { return session.lastAckedSequence() == last + 1; }));
}

INSTANTIATE_TEST_SUITE_P(
    LinkFault, AcknowledgementFault,
    ::testing::Values(AckFault{"Late", "delay 1500", 2, 2, true}, AckFault{"LostOnce", "drop 3", 2, 1, true},
                      AckFault{"LostTwice", "drop 6", 2, 0, false}, AckFault{"Duplicated", "duplicate on", 1, 2, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LinkFault, ADisconnectMidStepLeavesTheRunTickingAndTheReconnectedDroneGetsTheStep)
{
    DroneProcess drone("lab-drone");
    discover(session);
    ASSERT_TRUE(connectedTo(session, "lab-drone"));
    startRun({step(1, "rest", 30, {{"Timer (drone side)", {}}}), step(2, "end", 5, {{"Timer (drone side)", {}}})});
    ASSERT_TRUE(drone.waitForLine("state 1: timer: 29"));

    // Kept apart for two ticks: no automatic invitation meanwhile.
    session.setAutoInvite(false);
    drone.command("disconnect");
    ASSERT_TRUE(waitFor([&] { return session.state() == MultipeerSessionState::notConnected; }));
    const qint64 ticked = controller.timeTotal();
    ASSERT_TRUE(waitFor([&] { return controller.timeTotal() >= ticked + 2; }));
    EXPECT_EQ(session.state(), MultipeerSessionState::notConnected);
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(controller.nr(), 0);

    QString expected;
    QObject::connect(&session, &MultipeerSession::stateChanged, [&] {
        if (session.isConnected() && expected.isEmpty())
            expected = QStringLiteral("state %1: ").arg(session.stateSequence())
                + DroneStateText::forStep(controller.currentStep(), controller.remainingTime());
    });
    // Browsing anew finds it again, and it is invited by its name.
    session.stopBrowsing();
    discover(session);
    ASSERT_TRUE(connectedTo(session, "lab-drone"));
    ASSERT_TRUE(expected.contains(": timer: ")) << expected.toStdString();
    EXPECT_TRUE(drone.waitForLine(expected)) << expected.toStdString() << "\n"
                                             << drone.lines().join('\n').toStdString();
}

// How long the main loop is held up meanwhile is measured by bench_drone_link.
TEST_F(LinkFault, AFloodFromTheDroneNeitherStopsTheRunNorChangesItsLabelFile)
{
    const QList<DeelTestje> steps{step(1, "rest", 2, {{"Timer (drone side)", {}}}),
                                  step(2, "read", 2, {{"Text (drone side)", {QString("Read this | aloud")}}}),
                                  step(3, "end", 1, {{"Breathing (drone side)", {QString("slow")}}})};
    useSteps(steps);
    const QByteArray expected = labelFileWithoutDrone();
    ASSERT_EQ(expected.count("ended \n"), 3) << expected.toStdString();

    DroneProcess drone("noisy-drone");
    discover(session);
    ASSERT_TRUE(connectedTo(session, "noisy-drone"));
    startRun(steps);

    // Garbage of every kind the timekeeper reads: thousands of small messages
    // and a few large ones, one near the frame limit, all at once.
    const QStringList garbage{"@Ack: not a number", "@Ack: 99999999999999999999999", "@Ack: -4", "@Ack:12",
                              "@State of the drone", "@Slider value is: x@@", "@@@", "plain words \t|| \\n"};
    QString commands;
    for (int i = 0; i < 4000; ++i)
        commands += QStringLiteral("raw ") + garbage.at(i % garbage.size()) + QLatin1Char('\n');
    for (const int size : {1000 * 1000, 200 * 1000, 200 * 1000})
        commands += QStringLiteral("raw ") + QString(size, QLatin1Char('a')) + QLatin1Char('\n');
    commands += QStringLiteral("raw end of the flood");
    drone.command(commands);

    ASSERT_TRUE(waitFor([&] { return session.receivedMessage() == "end of the flood"; }, 60000));
    ASSERT_TRUE(waitFor([&] { return controller.isCompleted(); }, 60000));
    EXPECT_TRUE(session.isConnected());
    EXPECT_EQ(labelFile(controller), expected);
}
