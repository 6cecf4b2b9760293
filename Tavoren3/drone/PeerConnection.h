#pragma once

#include "drone/ByteBudget.h"
#include "drone/FrameReader.h"
#include "drone/LinkLimits.h"
#include "drone/PeerId.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QSslSocket>
#include <QTimer>
#include <memory>

// One encrypted link to a peer: length-prefixed frames, the first of which
// in each direction is a hello naming the peer and the service.
class PeerConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maximumFrameSize = 1 << 20;

    enum class Role { Inviter, Invitee };

    // Inviter: connects to host:port and sends its hello once encrypted.
    PeerConnection(const QString &host, quint16 port, const QJsonObject &hello, QObject *parent = nullptr);
    // Invitee: takes an accepted socket and waits for the inviter's hello.
    PeerConnection(QSslSocket *socket, QObject *parent = nullptr);
    ~PeerConnection() override;

    Role role() const { return m_role; }
    bool isOpen() const { return m_open; }
    bool helloSeen() const { return m_helloSeen; }
    // The unread bytes of this link count against budget; over it, the link closes.
    void setBudget(std::shared_ptr<ByteBudget> budget) { m_budget = std::move(budget); }
    // The peer as its hello named it.
    PeerId peer() const { return m_peer; }
    void setExpectedPeer(const PeerId &peer) { m_peer = peer; }

    // Invitee: answers the inviter's hello.
    void accept(const QJsonObject &hello);
    bool sendMessage(const QByteArray &message);
    void close();
    QString errorString() const { return m_error; }

signals:
    // Invitee: the inviter's hello arrived.
    void helloReceived(const QJsonObject &hello);
    void opened();
    void messageReceived(const QByteArray &message);
    void frameTooLarge(qint64 size, qint64 limit);
    void closed();

private:
    void attach();
    void readFrames();
    void handleFrame(const QByteArray &payload);
    void fail(const QString &reason);

    QSslSocket *m_socket = nullptr;
    Role m_role;
    QJsonObject m_hello;
    PeerId m_peer;
    FrameReader m_reader{LinkLimits::helloFrameSize};
    std::shared_ptr<ByteBudget> m_budget;
    bool m_open = false;
    bool m_closed = false;
    bool m_helloSeen = false;
    QString m_error;
};
