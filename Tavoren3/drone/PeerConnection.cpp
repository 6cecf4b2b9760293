#include "drone/PeerConnection.h"

#include "drone/TlsIdentity.h"

#include <QJsonDocument>

PeerConnection::PeerConnection(const QString &host, quint16 port, const QJsonObject &hello, QObject *parent)
    : QObject(parent), m_socket(new QSslSocket(this)), m_role(Role::Inviter), m_hello(hello)
{
    m_socket->setSslConfiguration(TlsIdentity::shared().clientConfiguration());
    attach();
    connect(m_socket, &QSslSocket::encrypted, this, [this] { m_socket->write(FrameReader::frame(QJsonDocument(m_hello).toJson(QJsonDocument::Compact))); });
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
    connect(m_socket, &QSslSocket::sslErrors, this, [this] { m_socket->ignoreSslErrors(); });
}

void PeerConnection::accept(const QJsonObject &hello)
{
    if (m_closed || m_open)
        return;
    m_socket->write(FrameReader::frame(QJsonDocument(hello).toJson(QJsonDocument::Compact)));
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
    if (m_helloSeen) {
        emit messageReceived(payload);
        return;
    }
    m_helloSeen = true;
    m_reader.setMaximumFrameSize(maximumFrameSize);
    const QJsonObject hello = QJsonDocument::fromJson(payload).object();
    if (hello.value(QStringLiteral("service")).toString() != m_hello.value(QStringLiteral("service")).toString()
        && m_role == Role::Inviter) {
        fail(QStringLiteral("the peer offers another service"));
        return;
    }
    m_peer = PeerId::fromMessage(hello);
    if (m_peer.id.isEmpty()) {
        fail(QStringLiteral("the peer did not say who it is"));
        return;
    }
    if (m_role == Role::Inviter) {
        m_open = true;
        emit opened();
    } else {
        emit helloReceived(hello);
    }
}
