// The timekeeper's session against an outsider that speaks the wire protocol.
#include "drone/DeviceIdentity.h"
#include "drone/DroneFixture.h"
#include "drone/PairedDevices.h"
#include "support/WirePeer.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A paired drone that misbehaves: pairing vouches for the key, not for what it sends.
class OutsiderLink : public DroneFixture
{
protected:
    // An outsider that invited the session and was taken.
    bool link(const QString &name)
    {
        discover(session);
        const DeviceIdentity identity(outsiderHome.path());
        PairedDevices(PairedDevices::inConfigFolder(PairedDevices::dronesFile)).add(identity.fingerprint(), name);
        if (!outsider.open(session.transport().listeningPort(), 5000, identity.configuration()))
            return false;
        outsider.send(WirePeer::hello(name, "0d15ea5e-0000-4000-8000-000000000000"));
        return waitFor([&] { return session.isConnected() && !outsider.frames().isEmpty(); });
    }

    QTemporaryDir outsiderHome;
    WirePeer outsider;
};

} // namespace

TEST_F(OutsiderLink, ANameWithALineFeedOrMarkupStaysOnePlainLineAndAnOversizeFrameDropsThePeer)
{
    const QString name = "Lab\ndrone\r<img src=http://127.0.0.1:9/x.png>\u2028";
    ASSERT_TRUE(link(name));
    const QString shown = "Lab\\x0adrone\\x0d<img src=http://127.0.0.1:9/x.png>\\u2028";
    EXPECT_EQ(session.connectedPeerNames(), QStringList{shown});
    EXPECT_EQ(QSettings().value(MultipeerSession::lastConnectedDroneKey).toString(), shown);

    // A frame over the limit ends the link and is written to the event log with the peer's name.
    outsider.socket.write(WirePeer::frame({}, 2 << 20));
    ASSERT_TRUE(waitFor([&] { return session.state() == MultipeerSessionState::notConnected && outsider.closed(); }));
    EXPECT_TRUE(console.anyStartsWith("Peer " + shown + " (0d15ea5e) sent a frame of 2097152 bytes"));
    const QStringList lines = QString::fromUtf8(documents.read("log.lbl")).split('\n', Qt::SkipEmptyParts);
    static const QRegularExpression stamped("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\t");
    for (const QString &line : lines)
        EXPECT_TRUE(stamped.match(line).hasMatch()) << line.toStdString();
    EXPECT_EQ(lines.filter("Peer " + shown + " (0d15ea5e) sent a frame of 2097152 bytes").size(), 1)
        << lines.join('\n').toStdString();
}
