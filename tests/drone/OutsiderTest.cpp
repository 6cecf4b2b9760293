// A stranger on the network (outsider.py, written from the wire protocol
// alone) against the timekeeper of this process and a real drone.
#include "drone/DeviceIdentity.h"
#include "drone/DroneFixture.h"
#include "drone/PairedDevices.h"
#include "drone/PeerBrowserView2.h"
#include "support/LinkPairing.h"
#include "support/OutsiderProcess.h"

#include <QDir>
#include <QRegularExpression>

namespace {

using Outsider = OutsiderProcess;

QString keyOf(const QString &configFolder)
{
    return DeviceIdentity(configFolder).fingerprint();
}

class Outsiders : public DroneFixture
{
protected:
    Outsiders()
    {
        sheet.setPresented(true);
        QObject::connect(&session, &MultipeerSession::connectedPeersChanged, [this] {
            for (const PeerId &peer : session.connectedPeers())
                linkedKeys.append(peer.key);
        });
    }
    // The timekeeper remembers the drone of this folder, paired with it.
    void remember(const QString &droneFolder)
    {
        LinkPairing::pair(LinkPairing::thisProcessFolder(), droneFolder, "timekeeper", "Lab drone");
        QSettings().setValue(MultipeerSession::lastConnectedDroneKey, "Lab drone");
        QSettings().setValue(MultipeerSession::lastConnectedDroneFingerprintKey, keyOf(droneFolder));
    }
    int listedAs(const QString &status)
    {
        const QList<PeerChoiceList::Choice> choices = sheet.peers()->choices();
        return int(std::count_if(choices.cbegin(), choices.cend(), [&](const auto &c) { return c.status == status; }));
    }

    PeerBrowserView2 sheet{session};
    QStringList linkedKeys;
};

class SameName : public Outsiders, public ::testing::WithParamInterface<bool>
{
};

} // namespace

TEST_P(SameName, ADroneOfTheRememberedNameWithAnotherKeyIsListedAsNotPairedAndNeverLinkedEitherWay)
{
    const bool besideTheDrone = GetParam();
    QTemporaryDir absent;
    std::unique_ptr<DroneProcess> drone;
    if (besideTheDrone)
        drone = std::make_unique<DroneProcess>("Lab drone");
    remember(drone ? drone->configFolder() : absent.path());
    discover(session);
    const QString port = QString::number(session.transport().listeningPort());
    Outsider stranger({"drone", "--name", "Lab drone", "--invite", port});
    ASSERT_TRUE(stranger.waitForLine("refused")) << "its own invitation";
    ASSERT_TRUE(waitFor([&] { return listedAs("not paired") == 1; }));
    if (besideTheDrone) {
        ASSERT_TRUE(connectedTo(session, "Lab drone"));
        EXPECT_EQ(session.connectedPeers().first().key, keyOf(drone->configFolder()));
    }
    QTest::qWait(quietMs);
    EXPECT_FALSE(stranger.said("hello from"));
    EXPECT_FALSE(stranger.said("linked"));
    EXPECT_FALSE(linkedKeys.contains(stranger.key()));
    EXPECT_EQ(session.isConnected(), besideTheDrone);
    EXPECT_EQ(QSettings().value(MultipeerSession::lastConnectedDroneKey).toString(), "Lab drone");
}

INSTANTIATE_TEST_SUITE_P(Outsiders, SameName, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "BesideThePairedDrone" : "Alone"; });

TEST_F(Outsiders, ADroneTakesOnePairedTimekeeperAtATimeAndNothingFromAnUnpairedOne)
{
    DroneProcess drone("Lab drone");
    const QString port = QString::number(drone.port());
    discover(session);
    ASSERT_TRUE(connectedTo(session, "Lab drone"));

    Outsider second({"timekeeper", "--port", port, "--wait", "--state", "text: from the second"});
    PairedDevices(QDir(drone.configFolder()).filePath(PairedDevices::timekeepersFile)).add(second.key(), "second");
    second.command("go");
    ASSERT_TRUE(second.waitForLine("refused")) << "the drone is linked";
    EXPECT_FALSE(second.said("linked"));
    session.setAutoInvite(false);
    session.cancelAllConnections();
    ASSERT_TRUE(drone.waitForLine("not connected"));
    Outsider again({"timekeeper", "--port", port, "--wait", "--state", "text: from the second"});
    PairedDevices(QDir(drone.configFolder()).filePath(PairedDevices::timekeepersFile)).add(again.key(), "second");
    again.command("go");
    ASSERT_TRUE(again.waitForLine("linked")) << "paired, and the drone is free";
    ASSERT_TRUE(drone.waitForLine("state 1: text: from the second"));
    again.kill();
    ASSERT_TRUE(waitFor([&] { return drone.lines().last() == "not connected"; }));

    const QStringList unpaired[] = {{"timekeeper", "--port", port, "--state", "text: forged"},
                                    {"timekeeper", "--port", port, "--pair", "--state", "text: forged"}};
    for (const QStringList &arguments : unpaired) {
        Outsider stranger(arguments);
        ASSERT_TRUE(stranger.waitForLine("refused")) << arguments.join(' ').toStdString();
        EXPECT_EQ(stranger.said("pairing"), arguments.contains("--pair"));
    }
    EXPECT_TRUE(drone.waitForLine("pairing ended"));
    EXPECT_EQ(drone.states().filter("forged"), QStringList());
}

TEST_F(Outsiders, ARelayReannouncingTheDronesIdIsRefusedOnTheKey)
{
    DroneProcess drone("Lab drone");
    remember(drone.configFolder());
    ASSERT_TRUE(waitFor([&] { return sheet.peers()->choices().size() == 1; }));
    const QString droneId = sheet.peers()->choices().first().peerId;
    Outsider relay({"relay", "--drone-port", QString::number(drone.port()), "--name", "Lab drone", "--id", droneId,
                    "--key", keyOf(drone.configFolder())});
    relay.port();
    QTest::qWait(300);
    discover(session);
    ASSERT_TRUE(waitFor([&] { return console.anyStartsWith("Refused the link with Lab drone"); }));
    QTest::qWait(quietMs);
    EXPECT_FALSE(relay.said("relayed hello"));
    EXPECT_FALSE(linkedKeys.contains(relay.key()));
    for (const QString &key : std::as_const(linkedKeys))
        EXPECT_EQ(key, keyOf(drone.configFolder()));
}

TEST_F(Outsiders, PairingThroughARelayShowsDifferentCodesOnTheTwoSides)
{
    DroneProcess drone("Lab drone", {}, DroneProcess::Screen::none, DroneProcess::Pairing::none);
    Outsider relay({"relay", "--drone-port", QString::number(drone.port())});
    ASSERT_TRUE(session.inviteAddress(QStringLiteral("127.0.0.1:%1").arg(relay.port())));
    ASSERT_TRUE(waitFor([&] { return session.isPairing(); }));
    const std::optional<QString> shown = drone.lineAfter(0, "pairing code ");
    ASSERT_TRUE(shown);
    EXPECT_TRUE(relay.said("relayed hello"));
    EXPECT_EQ(session.pairingCode().size(), 6);
    EXPECT_FALSE(shown->contains(session.pairingCode())) << shown->toStdString();
}

// A paired drone that misbehaves: pairing vouches for the key, not for what it sends.
TEST_F(Outsiders, APairedOnesNameWithALineFeedOrMarkupStaysOnePlainLineAndAnOversizeFrameDropsIt)
{
    const QString name = "Lab\ndrone\r<img src=http://127.0.0.1:9/x.png>\u2028";
    discover(session);
    Outsider paired({"drone", "--name", name, "--id", "0d15ea5e-0000-4000-8000-000000000000", "--unannounced", "--wait",
                     "--invite", QString::number(session.transport().listeningPort())});
    PairedDevices(PairedDevices::inConfigFolder(PairedDevices::dronesFile)).add(paired.key(), name);
    paired.command("go");
    ASSERT_TRUE(paired.waitForLine("linked"));
    const QString shown = "Lab\\x0adrone\\x0d<img src=http://127.0.0.1:9/x.png>\\u2028";
    ASSERT_TRUE(connectedTo(session, shown));
    EXPECT_EQ(QSettings().value(MultipeerSession::lastConnectedDroneKey).toString(), shown);

    // A frame over the limit ends the link and is written to the event log with the peer's name.
    paired.command("header 2097152");
    ASSERT_TRUE(waitFor([&] { return session.state() == MultipeerSessionState::notConnected; }));
    EXPECT_TRUE(paired.waitForLine("refused"));
    const QString told = "Peer " + shown + " (0d15ea5e) sent a frame of 2097152 bytes";
    EXPECT_TRUE(console.anyStartsWith(told));
    const QStringList lines = QString::fromUtf8(documents.read("log.lbl")).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.filter(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\t")), lines);
    EXPECT_EQ(lines.filter(told).size(), 1) << lines.join('\n').toStdString();
}
