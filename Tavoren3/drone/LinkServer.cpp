#include "drone/LinkServer.h"

#include "drone/LinkLimits.h"

#include <algorithm>
#include <sys/socket.h>
#include <unistd.h>

LinkServer::LinkServer(QObject *parent) : QSslServer(parent)
{
    setHandshakeTimeout(LinkLimits::helloTimeoutMs);
    connect(this, &QSslServer::startedEncryptionHandshake, this,
            [this](QSslSocket *socket) { m_waiting.append(Waiting{socket, m_incoming}); });
}

void LinkServer::prune()
{
    m_waiting.removeIf([](const Waiting &w) { return !w.socket || w.socket->state() == QAbstractSocket::UnconnectedState; });
}

int LinkServer::waiting()
{
    prune();
    return int(m_waiting.size());
}

void LinkServer::greeted(const QSslSocket *socket)
{
    m_waiting.removeIf([socket](const Waiting &w) { return w.socket == socket; });
}

void LinkServer::incomingConnection(qintptr descriptor)
{
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr *>(&peer), &size) != 0) {
        ::close(int(descriptor));
        return;
    }
    m_incoming = QHostAddress(reinterpret_cast<const sockaddr *>(&peer));
    prune();
    const auto fromThere = std::count_if(m_waiting.cbegin(), m_waiting.cend(),
                                         [this](const Waiting &w) { return w.address.isEqual(m_incoming); });
    if (m_waiting.size() >= LinkLimits::waitingInAll || fromThere >= LinkLimits::waitingPerAddress) {
        ::close(int(descriptor));
        return;
    }
    QSslServer::incomingConnection(descriptor);
}
