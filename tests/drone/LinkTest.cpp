#include "drone/DroneFixture.h"
#include "drone/PeerBrowserView2.h"
#include "run/RunFixture.h"
#include "run/WorkingViewModel.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gmock/gmock.h>

namespace {

using Link = DroneFixture;

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

} // namespace

TEST_F(Link, AnUnpairedDroneOrOneFoundWhileAutoInviteIsOffIsNotInvited)
{
    DroneProcess stranger("stranger", {}, DroneProcess::Screen::none, DroneProcess::Pairing::none);
    discover(session);
    ASSERT_TRUE(waitFor([&] { return session.foundPeers().size() == 1; }));
    EXPECT_EQ(session.foundPeers().first().peer.displayName, "stranger");
    QTest::qWait(quietMs);
    EXPECT_FALSE(session.isConnected());

    session.setAutoInvite(false);
    DroneProcess usual("the-usual-drone");
    ASSERT_TRUE(waitFor([&] { return session.foundPeers().size() == 2; }));
    QTest::qWait(quietMs);
    EXPECT_FALSE(session.isConnected());
}

namespace {

// The drone chooser of the start screen, shown, beside a run.
class Chooser : public RunFixture
{
protected:
    Chooser()
    {
        QSettings().clear();
        sheet.setPresented(true);
    }

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

} // namespace

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
