#include "drone/PeerConnection.h"

#include "drone/DeviceIdentity.h"

#include <QJsonDocument>

namespace {
const QString pairKey = QStringLiteral("pair");

QByteArray helloFrame(QJsonObject hello, bool pair)
{
    if (pair)
        hello.insert(pairKey, true);
    return FrameReader::frame(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}
} // namespace

PeerConnection::PeerConnection(const QString &host, quint16 port, QObject *parent)
    : QObject(parent), m_socket(new QSslSocket(this)), m_role(Role::Inviter)
{
    m_socket->setSslConfiguration(DeviceIdentity::shared().configuration());
    attach();
    connect(m_socket, &QSslSocket::encrypted, this, &PeerConnection::encrypted);
    m_socket->connectToHostEncrypted(host, port);
}

PeerConnection::PeerConnection(QSslSocket *socket, QObject *parent)
    : QObject(parent), m_socket(socket), m_role(Role::Invitee)
{
    m_socket->setParent(this);
    attach();
}

PeerConnection::~PeerConnection()
{
    m_closed = true;
    if (m_socket)
        m_socket->disconnect(this);
}

void PeerConnection::attach()
{
    connect(m_socket, &QSslSocket::readyRead, this, &PeerConnection::readFrames);
    connect(m_socket, &QSslSocket::disconnected, this, [this] { fail(QStringLiteral("the peer closed the link")); });
    connect(m_socket, &QSslSocket::errorOccurred, this, [this] { fail(m_socket->errorString()); });
    // Self-signed on both ends: the key is judged by its fingerprint instead.
    connect(m_socket, &QSslSocket::sslErrors, this, [this] { m_socket->ignoreSslErrors(); });
}

QString PeerConnection::peerKey() const
{
    return m_socket && m_socket->isEncrypted() ? DeviceIdentity::fingerprintOf(m_socket->peerCertificate()) : QString();
}

void PeerConnection::sendHello(QJsonObject hello, bool pair)
{
    if (m_closed || m_role != Role::Inviter)
        return;
    m_service = hello.value(QStringLiteral("service")).toString();
    m_askedToPair = pair;
    m_socket->write(helloFrame(std::move(hello), pair));
}

void PeerConnection::accept(QJsonObject hello, bool pair)
{
    if (m_closed || m_open || m_pairing || m_role != Role::Invitee)
        return;
    m_socket->write(helloFrame(std::move(hello), pair));
    if (!pair) {
        open();
        return;
    }
    m_pairing = true;
    emit pairingStarted();
}

void PeerConnection::confirmPairing()
{
    if (!m_pairing || m_confirmedHere || m_closed)
        return;
    m_confirmedHere = true;
    m_socket->write(FrameReader::frame(QByteArray(pairingConfirmation)));
    openIfBothConfirmed();
}

void PeerConnection::openIfBothConfirmed()
{
    if (!m_confirmedHere || !m_confirmedThere)
        return;
    m_pairing = false;
    emit paired();
    if (!m_closed)
        open();
}

void PeerConnection::open()
{
    m_open = true;
    emit opened();
}

bool PeerConnection::sendMessage(const QByteArray &message)
{
    if (!m_open || m_closed || message.size() > maximumFrameSize)
        return false;
    return m_socket->write(FrameReader::frame(message)) == message.size() + 4;
}

void PeerConnection::close()
{
    fail(QStringLiteral("the link was closed"));
}

void PeerConnection::fail(const QString &reason)
{
    if (m_closed)
        return;
    m_closed = true;
    m_open = false;
    m_pairing = false;
    m_error = reason;
    if (m_budget)
        m_budget->release(this);
    m_socket->abort();
    emit closed();
}

void PeerConnection::readFrames()
{
    m_reader.append(m_socket->readAll());
    while (!m_closed) {
        const std::optional<QByteArray> payload = m_reader.next();
        if (!payload)
            break;
        handleFrame(*payload);
    }
    if (!m_closed && m_reader.oversize() != 0) {
        emit frameTooLarge(m_reader.oversize(), m_reader.maximumFrameSize());
        fail(QStringLiteral("frame of %1 bytes is over the limit").arg(m_reader.oversize()));
    }
    if (!m_closed && m_budget && !m_budget->hold(this, m_reader.buffered()))
        fail(QStringLiteral("the links hold too many unread bytes"));
}

void PeerConnection::handleFrame(const QByteArray &payload)
{
    if (m_pairing) {
        if (payload != pairingConfirmation) {
            fail(QStringLiteral("the peer sent something else than a pairing confirmation"));
            return;
        }
        m_confirmedThere = true;
        openIfBothConfirmed();
    } else if (m_helloSeen) {
        if (m_open)
            emit messageReceived(payload);
        else
            fail(QStringLiteral("the peer spoke before the link was open"));
    } else {
        m_helloSeen = true;
        m_reader.setMaximumFrameSize(maximumFrameSize);
        handleHello(QJsonDocument::fromJson(payload).object());
    }
}

void PeerConnection::handleHello(const QJsonObject &hello)
{
    if (m_role == Role::Inviter && hello.value(QStringLiteral("service")).toString() != m_service) {
        fail(QStringLiteral("the peer offers another service"));
        return;
    }
    m_peer = PeerId::fromMessage(hello, peerKey());
    if (m_peer.id.isEmpty() || m_peer.key.isEmpty()) {
        fail(QStringLiteral("the peer did not say who it is"));
        return;
    }
    if (m_role == Role::Invitee) {
        emit helloReceived(hello);
        return;
    }
    // The answer must agree on pairing or not.
    if (hello.value(pairKey).toBool() != m_askedToPair) {
        fail(m_askedToPair ? QStringLiteral("the peer does not pair") : QStringLiteral("the peer asks to pair"));
        return;
    }
    if (m_askedToPair) {
        m_pairing = true;
        emit pairingStarted();
    } else {
        open();
    }
}
