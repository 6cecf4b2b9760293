#include "drone/PeerTransport.h"

#include "drone/TlsIdentity.h"

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

PeerTransport::PeerTransport(const QString &displayName, const QString &serviceType, QObject *parent)
    : QObject(parent), m_local{QUuid::createUuid().toString(QUuid::WithoutBraces), displayName},
      m_serviceType(serviceType), m_browser(serviceType, m_local.id),
      m_unread(std::make_shared<ByteBudget>(LinkLimits::unreadInAll))
{
    m_loopbackOnly = qEnvironmentVariable("TAVOREN_DISCOVERY") == QLatin1String("loopback");
    connect(&m_browser, &PeerBrowser::peerFound, this, &PeerTransport::peerFound);
    connect(&m_browser, &PeerBrowser::peerLost, this, &PeerTransport::peerLost);

    m_server.setSslConfiguration(TlsIdentity::shared().serverConfiguration());
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
    if (leaving)
        message.insert(QStringLiteral("leaving"), true);
    const QByteArray datagram = QJsonDocument(message).toJson(QJsonDocument::Compact);
    for (const QHostAddress &target : announcementTargets())
        m_announcer.writeDatagram(datagram, target, PeerBrowser::discoveryPort());
}

void PeerTransport::invitePeer(const PeerId &peer, int timeoutMs)
{
    if (const std::optional<PeerBrowser::Found> found = m_browser.find(peer.id))
        invitePeer(*found, timeoutMs);
    else
        emit peerStateChanged(peer, PeerState::notConnected);
}

void PeerTransport::invitePeer(const PeerBrowser::Found &found, int timeoutMs)
{
    const QString where = found.where();
    for (PeerConnection *connection : std::as_const(m_connections)) {
        if (connection->peer() == found.peer || connection->property(targetProperty).toString() == where)
            return; // already linked or on the way
    }
    auto *connection = new PeerConnection(found.address.toString(), found.port, hello(), this);
    connection->setExpectedPeer(found.peer);
    connection->setProperty(targetProperty, where);
    adopt(connection, timeoutMs);
}

void PeerTransport::inviteAddress(const QString &host, quint16 port, int timeoutMs)
{
    auto *connection = new PeerConnection(host, port, hello(), this);
    const QString where = host + QLatin1Char(':') + QString::number(port);
    connection->setExpectedPeer(PeerId{where, where});
    adopt(connection, timeoutMs);
}

void PeerTransport::adopt(PeerConnection *connection, int timeoutMs)
{
    m_connections.append(connection);
    connection->setBudget(m_unread);
    const PeerId expected = connection->peer();
    if (connection->role() == PeerConnection::Role::Inviter) {
        emit peerStateChanged(expected, PeerState::connecting);
        QTimer::singleShot(timeoutMs, connection, [connection] {
            if (!connection->isOpen())
                connection->close();
        });
    } else {
        QTimer::singleShot(LinkLimits::helloTimeoutMs, connection, [connection] {
            if (!connection->helloSeen())
                connection->close();
        });
    }
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
            const PeerId peer = connection->peer();
            const bool duplicate = std::any_of(m_connections.cbegin(), m_connections.cend(), [&](PeerConnection *c) {
                return c != connection && c->isOpen() && c->peer() == peer;
            });
            if (theirs.value(QStringLiteral("service")).toString() != m_serviceType || !m_advertising || duplicate
                || (m_invitationHandler && !m_invitationHandler(peer))) {
                connection->close();
                return;
            }
            connection->setProperty(announcedProperty, true);
            emit peerStateChanged(peer, PeerState::connecting);
            connection->accept(hello());
        });
        adopt(connection, 0);
    }
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
