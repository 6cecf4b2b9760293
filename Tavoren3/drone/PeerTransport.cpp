#include "drone/PeerTransport.h"

#include "common/Console.h"
#include "drone/DeviceIdentity.h"
#include "drone/PairingCode.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QUuid>

#include <algorithm>

namespace {
constexpr int announceIntervalMs = 1000;
constexpr const char *announcedProperty = "announced";
// host:port of an invited peer: one attempt at a time goes there.
constexpr const char *targetProperty = "target";
}

PeerTransport::PeerTransport(const QString &displayName, const QString &serviceType, const QString &pairedFile,
                             QObject *parent)
    : QObject(parent),
      m_local{QUuid::createUuid().toString(QUuid::WithoutBraces), displayName, DeviceIdentity::shared().fingerprint()},
      m_serviceType(serviceType), m_browser(serviceType, m_local.id), m_paired(pairedFile),
      m_unread(std::make_shared<ByteBudget>(LinkLimits::unreadInAll))
{
    m_loopbackOnly = qEnvironmentVariable("TAVOREN_DISCOVERY") == QLatin1String("loopback");
    m_pairsByItself = m_loopbackOnly && qEnvironmentVariable("TAVOREN_DEMO_PAIRING") == QLatin1String("1");
    if (m_pairsByItself)
        Console::line(QStringLiteral("Demonstration: pairings with programs on this machine are confirmed by themselves "
                                     "(loopback only)"));
    connect(&m_browser, &PeerBrowser::peerFound, this, &PeerTransport::peerFound);
    connect(&m_browser, &PeerBrowser::peerLost, this, &PeerTransport::peerLost);

    m_server.setSslConfiguration(DeviceIdentity::shared().configuration());
    connect(&m_server, &QSslServer::pendingConnectionAvailable, this, &PeerTransport::acceptIncoming);
    m_server.listen(m_loopbackOnly ? QHostAddress::LocalHost : QHostAddress::Any,
                    quint16(qEnvironmentVariableIntValue("TAVOREN_LINK_PORT")));

    m_announceTimer.setInterval(announceIntervalMs);
    connect(&m_announceTimer, &QTimer::timeout, this, [this] { announce(); });
}

PeerTransport::~PeerTransport()
{
    if (m_advertising)
        announce(true);
    for (PeerConnection *connection : std::as_const(m_connections))
        connection->disconnect(this);
}

QJsonObject PeerTransport::hello() const
{
    return QJsonObject{{QStringLiteral("service"), m_serviceType},
                       {QStringLiteral("name"), m_local.displayName},
                       {QStringLiteral("id"), m_local.id}};
}

void PeerTransport::startAdvertising()
{
    if (!m_server.isListening()) {
        emit advertisingFailed(m_server.errorString());
        return;
    }
    if (m_advertising)
        return;
    m_advertising = true;
    announce();
    m_announceTimer.start();
}

void PeerTransport::stopAdvertising()
{
    if (!m_advertising)
        return;
    m_advertising = false;
    m_announceTimer.stop();
    announce(true);
}

void PeerTransport::startBrowsing()
{
    QString error;
    if (!m_browser.start(&error))
        emit browsingFailed(error);
}

void PeerTransport::stopBrowsing()
{
    m_browser.stop();
}

QList<QHostAddress> PeerTransport::announcementTargets() const
{
    QList<QHostAddress> targets{QHostAddress(QStringLiteral("127.255.255.255"))};
    if (m_loopbackOnly)
        return targets;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        if (!(interface.flags() & QNetworkInterface::IsUp) || (interface.flags() & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (!entry.broadcast().isNull())
                targets.append(entry.broadcast());
        }
    }
    return targets;
}

void PeerTransport::announce(bool leaving)
{
    if (!m_announcing)
        return;
    QJsonObject message = hello();
    message.insert(QStringLiteral("port"), int(m_server.serverPort()));
    message.insert(QStringLiteral("key"), m_local.key);
    if (leaving)
        message.insert(QStringLiteral("leaving"), true);
    const QByteArray datagram = QJsonDocument(message).toJson(QJsonDocument::Compact);
    for (const QHostAddress &target : announcementTargets())
        m_announcer.writeDatagram(datagram, target, PeerBrowser::discoveryPort());
}

void PeerTransport::invitePeer(const PeerId &peer, int timeoutMs, bool mayPair)
{
    if (const std::optional<PeerBrowser::Found> found = m_browser.find(peer.id))
        invitePeer(*found, timeoutMs, mayPair);
    else
        emit peerStateChanged(peer, PeerState::notConnected);
}

void PeerTransport::invitePeer(const PeerBrowser::Found &found, int timeoutMs, bool mayPair)
{
    const QString where = found.where();
    for (PeerConnection *connection : std::as_const(m_connections)) {
        if (connection->peer() == found.peer || connection->property(targetProperty).toString() == where)
            return; // already linked or on the way
    }
    auto *connection = new PeerConnection(found.address.toString(), found.port, this);
    connection->setExpectedPeer(found.peer);
    connection->setProperty(targetProperty, where);
    adopt(connection, timeoutMs);
    invite(connection, mayPair);
}

void PeerTransport::inviteAddress(const QString &host, quint16 port, int timeoutMs, bool mayPair)
{
    auto *connection = new PeerConnection(host, port, this);
    const QString where = host + QLatin1Char(':') + QString::number(port);
    connection->setExpectedPeer(PeerId{where, where, {}});
    adopt(connection, timeoutMs);
    invite(connection, mayPair);
}

void PeerTransport::invite(PeerConnection *connection, bool mayPair)
{
    connect(connection, &PeerConnection::encrypted, this, [this, connection, mayPair] {
        const QString key = connection->peerKey();
        const QString announced = connection->peer().key;
        if (!announced.isEmpty() && key != announced)
            refuse(connection, QStringLiteral("its certificate is not the key it announced"));
        else if (m_paired.contains(key))
            connection->sendHello(hello(), false);
        else if (!mayPair)
            refuse(connection, QStringLiteral("it is not paired"));
        else if (m_pairing)
            refuse(connection, QStringLiteral("another pairing is under way"));
        else
            connection->sendHello(hello(), true);
    });
}

void PeerTransport::refuse(PeerConnection *connection, const QString &why)
{
    Console::line(QStringLiteral("Refused the link with ") + connection->peer().description() + QStringLiteral(": ") + why);
    connection->close();
}

void PeerTransport::adopt(PeerConnection *connection, int timeoutMs)
{
    m_connections.append(connection);
    connection->setBudget(m_unread);
    const PeerId expected = connection->peer();
    if (connection->role() == PeerConnection::Role::Inviter) {
        emit peerStateChanged(expected, PeerState::connecting);
        QTimer::singleShot(timeoutMs, connection, [connection] {
            if (!connection->isOpen() && !connection->isPairing())
                connection->close();
        });
    } else {
        QTimer::singleShot(LinkLimits::helloTimeoutMs, connection, [connection] {
            if (!connection->helloSeen())
                connection->close();
        });
    }
    watchPairing(connection);
    connect(connection, &PeerConnection::opened, this, [this, connection] {
        emit peerStateChanged(connection->peer(), PeerState::connected);
    });
    connect(connection, &PeerConnection::messageReceived, this,
            [this, connection](const QByteArray &message) { emit dataReceived(message, connection->peer()); });
    connect(connection, &PeerConnection::frameTooLarge, this, [this, connection](qint64 size, qint64 limit) {
        emit peerMisbehaved(connection->peer(),
                            QStringLiteral("sent a frame of %1 bytes (the limit is %2); disconnected").arg(size).arg(limit));
    });
    connect(connection, &PeerConnection::closed, this, [this, connection] {
        m_connections.removeOne(connection);
        if (m_pairing == connection) {
            m_pairing = nullptr;
            emit pairingChanged();
            emit pairingEnded(connection->peer(), false);
        }
        connection->deleteLater();
        // Only links that were reported as connecting are reported as ended.
        if (connection->role() == PeerConnection::Role::Inviter || connection->property(announcedProperty).toBool())
            emit peerStateChanged(connection->peer(), PeerState::notConnected);
    });
}

void PeerTransport::acceptIncoming()
{
    while (QTcpSocket *pending = m_server.nextPendingConnection()) {
        auto *socket = qobject_cast<QSslSocket *>(pending);
        if (!socket) {
            pending->deleteLater();
            continue;
        }
        auto *connection = new PeerConnection(socket, this);
        connect(connection, &PeerConnection::helloReceived, this, [this, connection, socket](const QJsonObject &theirs) {
            m_server.greeted(socket);
            admit(connection, theirs);
        });
        adopt(connection, 0);
    }
}

void PeerTransport::admit(PeerConnection *connection, const QJsonObject &theirs)
{
    const PeerId peer = connection->peer();
    const bool asksToPair = theirs.value(QStringLiteral("pair")).toBool();
    if (theirs.value(QStringLiteral("service")).toString() != m_serviceType || !m_advertising) {
        connection->close();
        return;
    }
    if (asksToPair && !m_takesPairing) {
        refuse(connection, QStringLiteral("this end does not take pairings"));
        return;
    }
    if (!asksToPair && !m_paired.contains(peer.key)) {
        refuse(connection, QStringLiteral("it is not paired"));
        return;
    }
    if (asksToPair && m_pairing) {
        refuse(connection, QStringLiteral("another pairing is under way"));
        return;
    }
    if (!makeRoomFor(connection))
        return;
    connection->setProperty(announcedProperty, true);
    emit peerStateChanged(peer, PeerState::connecting);
    connection->accept(hello(), asksToPair);
}

bool PeerTransport::makeRoomFor(PeerConnection *connection)
{
    const PeerId peer = connection->peer();
    const QList<PeerConnection *> others = m_connections;
    for (PeerConnection *other : others) {
        if (other == connection || !(other->isOpen() || other->isPairing()))
            continue;
        if (other->peer().key != peer.key || other->isPairing()) {
            refuse(connection, QStringLiteral("another peer is linked"));
            return false;
        }
        if (other->peer() == peer) {
            refuse(connection, QStringLiteral("it is linked already"));
            return false;
        }
    }
    // The same peer started anew, its old link not noticed as gone yet.
    for (PeerConnection *other : others) {
        if (other != connection && other->isOpen())
            other->close();
    }
    return true;
}

void PeerTransport::watchPairing(PeerConnection *connection)
{
    connect(connection, &PeerConnection::pairingStarted, this, [this, connection] {
        if (m_pairing && m_pairing != connection) {
            refuse(connection, QStringLiteral("another pairing is under way"));
            return;
        }
        m_pairing = connection;
        const PeerId peer = connection->peer();
        QTimer::singleShot(pairingTimeoutMs, connection, [connection] {
            if (connection->isPairing())
                connection->close();
        });
        m_pairingCode = PairingCode::between(m_local.key, peer.key);
        emit pairingChanged();
        const QHostAddress address = connection->peerAddress();
        if (m_pairsByItself && address.isLoopback()) {
            Console::line(QStringLiteral("Demonstration: the pairing with ") + peer.displayName
                          + QStringLiteral(" is confirmed by itself (loopback only)"));
            connection->confirmPairing();
        }
    });
    connect(connection, &PeerConnection::paired, this, [this, connection] {
        const PeerId peer = connection->peer();
        m_paired.add(peer.key, peer.displayName);
        if (m_pairing == connection)
            m_pairing = nullptr;
        Console::line(QStringLiteral("Paired with ") + peer.description());
        emit pairingChanged();
        emit pairingEnded(peer, true);
    });
}

void PeerTransport::confirmPairing()
{
    if (!m_pairing || m_pairing->pairingConfirmedHere())
        return;
    PeerConnection *pairing = m_pairing;
    pairing->confirmPairing();
    if (m_pairing == pairing)
        emit pairingChanged();
}

void PeerTransport::cancelPairing()
{
    if (m_pairing)
        m_pairing->close();
}

void PeerTransport::cancelConnectPeer(const PeerId &peer)
{
    const QList<PeerConnection *> connections = m_connections;
    for (PeerConnection *connection : connections) {
        if (connection->peer() == peer)
            connection->close();
    }
}

QList<PeerId> PeerTransport::connectedPeers() const
{
    QList<PeerId> peers;
    for (const PeerConnection *connection : m_connections) {
        if (connection->isOpen() && !peers.contains(connection->peer()))
            peers.append(connection->peer());
    }
    return peers;
}

bool PeerTransport::send(const QByteArray &message, QString *error)
{
    bool any = false;
    for (PeerConnection *connection : std::as_const(m_connections)) {
        if (!connection->isOpen())
            continue;
        if (!connection->sendMessage(message)) {
            *error = message.size() > PeerConnection::maximumFrameSize
                ? QStringLiteral("the message is larger than %1 bytes").arg(PeerConnection::maximumFrameSize)
                : connection->errorString();
            return false;
        }
        any = true;
    }
    if (!any)
        *error = QStringLiteral("no connected peers");
    return any;
}
