#include "drone/PeerBrowser.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <tuple>

namespace {
constexpr qint64 lostAfterMs = 3500;
}

PeerBrowser::PeerBrowser(const QString &serviceType, const QString &ownId, QObject *parent)
    : QObject(parent), m_serviceType(serviceType), m_ownId(ownId)
{
    m_clock.start();
    m_expiryTimer.setInterval(500);
    connect(&m_expiryTimer, &QTimer::timeout, this, &PeerBrowser::expire);
    connect(&m_socket, &QUdpSocket::readyRead, this, &PeerBrowser::readAnnouncements);
}

quint16 PeerBrowser::discoveryPort()
{
    bool ok = false;
    const uint port = qEnvironmentVariableIntValue("TAVOREN_DISCOVERY_PORT", &ok);
    return ok && port > 0 && port < 65536 ? quint16(port) : quint16(53530);
}

bool PeerBrowser::start(QString *error)
{
    if (m_browsing)
        return true;
    // Bound to loopback's broadcast address, the socket gets what is announced there and nothing else.
    const bool loopbackOnly = qEnvironmentVariable("TAVOREN_DISCOVERY") == QLatin1String("loopback");
    const QHostAddress where = loopbackOnly ? QHostAddress(QStringLiteral("127.255.255.255")) : QHostAddress(QHostAddress::AnyIPv4);
    if (!m_socket.bind(where, discoveryPort(),
                       QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        *error = m_socket.errorString();
        return false;
    }
    m_browsing = true;
    m_expiryTimer.start();
    return true;
}

void PeerBrowser::stop()
{
    if (!m_browsing)
        return;
    m_browsing = false;
    m_socket.close();
    m_expiryTimer.stop();
    if (!m_found.isEmpty()) {
        m_found.clear();
        emit foundPeersChanged();
    }
}

QList<PeerBrowser::Found> PeerBrowser::foundPeers() const
{
    QList<Found> peers = m_found.values();
    std::sort(peers.begin(), peers.end(), [](const Found &a, const Found &b) {
        return std::tie(a.peer.displayName, a.port, a.peer.id) < std::tie(b.peer.displayName, b.port, b.peer.id);
    });
    return peers;
}

std::optional<PeerBrowser::Found> PeerBrowser::find(const QString &peerId) const
{
    const auto found = m_found.constFind(peerId);
    return found == m_found.cend() ? std::nullopt : std::optional<Found>(*found);
}

void PeerBrowser::readAnnouncements()
{
    while (m_socket.hasPendingDatagrams()) {
        QHostAddress sender;
        quint16 senderPort = 0;
        QByteArray datagram(int(std::min<qint64>(m_socket.pendingDatagramSize(), 4096)), Qt::Uninitialized);
        const qint64 size = m_socket.readDatagram(datagram.data(), datagram.size(), &sender, &senderPort);
        if (size <= 0 || !m_browsing || !m_limiter.admitDatagram(sender, senderPort, m_clock.elapsed()))
            continue;
        const QJsonObject message = QJsonDocument::fromJson(datagram.left(size)).object();
        const PeerId peer =
            PeerId::fromMessage(message, OutsideText::printable(message.value(QStringLiteral("key")).toString()));
        const int port = message.value(QStringLiteral("port")).toInt();
        if (message.value(QStringLiteral("service")).toString() != m_serviceType || peer.id.isEmpty()
            || peer.id == m_ownId || port <= 0 || port > 65535)
            continue;
        if (message.value(QStringLiteral("leaving")).toBool()) {
            if (m_found.remove(peer.id)) {
                emit foundPeersChanged();
                emit peerLost(peer);
            }
            continue;
        }
        const bool isNew = !m_found.contains(peer.id);
        if (isNew && !m_limiter.admitNewPeer(sender, senderPort, m_clock.elapsed()))
            continue;
        m_found.insert(peer.id, Found{peer, sender, quint16(port), m_clock.elapsed()});
        if (isNew) {
            emit foundPeersChanged();
            emit peerFound(peer);
        }
    }
}

void PeerBrowser::expire()
{
    const qint64 now = m_clock.elapsed();
    QList<PeerId> lost;
    for (auto it = m_found.begin(); it != m_found.end();) {
        if (now - it->lastSeenMs > lostAfterMs) {
            lost.append(it->peer);
            it = m_found.erase(it);
        } else {
            ++it;
        }
    }
    if (lost.isEmpty())
        return;
    emit foundPeersChanged();
    for (const PeerId &peer : std::as_const(lost))
        emit peerLost(peer);
}
