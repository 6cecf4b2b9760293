#pragma once

#include "drone/ByteBudget.h"
#include "drone/FrameReader.h"
#include "drone/LinkLimits.h"
#include "drone/PeerId.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QObject>
#include <QSslSocket>
#include <QTimer>
#include <memory>

// One encrypted link to a peer: length-prefixed frames, the first of which
// in each direction is a hello naming the peer and the service. Both ends
// show a certificate; its fingerprint is the peer's key.
//
// A pairing link (the inviter's hello asks for it, the invitee's answer
// agrees) carries nothing but each end's confirmation; it opens once both
// ends have confirmed.
class PeerConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 maximumFrameSize = 1 << 20;
    static constexpr const char *pairingConfirmation = "@Pair: confirm";

    enum class Role { Inviter, Invitee };

    // Inviter: connects to host:port; once encrypted it reports so, and the
    // owner sends the hello or closes.
    PeerConnection(const QString &host, quint16 port, QObject *parent = nullptr);
    // Invitee: takes an accepted socket and waits for the inviter's hello.
    PeerConnection(QSslSocket *socket, QObject *parent = nullptr);
    ~PeerConnection() override;

    Role role() const { return m_role; }
    bool isOpen() const { return m_open; }
    bool helloSeen() const { return m_helloSeen; }
    // The unread bytes of this link count against budget; over it, the link closes.
    void setBudget(std::shared_ptr<ByteBudget> budget) { m_budget = std::move(budget); }
    bool isPairing() const { return m_pairing; }
    bool pairingConfirmedHere() const { return m_confirmedHere; }
    // The peer as its hello named it, with the key its certificate shows.
    PeerId peer() const { return m_peer; }
    void setExpectedPeer(const PeerId &peer) { m_peer = peer; }
    // The fingerprint of the peer's certificate; empty before encryption or without one.
    QString peerKey() const;
    QHostAddress peerAddress() const { return m_socket->peerAddress(); }

    // Inviter: sends the hello, asking to pair when `pair` is set.
    void sendHello(QJsonObject hello, bool pair);
    // Invitee: answers the inviter's hello, agreeing to pair when `pair` is set.
    void accept(QJsonObject hello, bool pair = false);
    // This end's confirmation of a pairing.
    void confirmPairing();
    bool sendMessage(const QByteArray &message);
    void close();
    QString errorString() const { return m_error; }

signals:
    // Inviter: encrypted, the peer's certificate known.
    void encrypted();
    // Invitee: the inviter's hello arrived.
    void helloReceived(const QJsonObject &hello);
    // Both hellos passed and the link waits for both confirmations.
    void pairingStarted();
    // Both ends confirmed: the pairing holds (opened follows).
    void paired();
    void opened();
    void messageReceived(const QByteArray &message);
    void frameTooLarge(qint64 size, qint64 limit);
    void closed();

private:
    void attach();
    void readFrames();
    void handleFrame(const QByteArray &payload);
    void handleHello(const QJsonObject &hello);
    void openIfBothConfirmed();
    void open();
    void fail(const QString &reason);

    QSslSocket *m_socket = nullptr;
    Role m_role;
    QString m_service;
    PeerId m_peer;
    FrameReader m_reader{LinkLimits::helloFrameSize};
    std::shared_ptr<ByteBudget> m_budget;
    bool m_open = false;
    bool m_closed = false;
    bool m_helloSeen = false;
    bool m_askedToPair = false;
    bool m_pairing = false;
    bool m_confirmedHere = false;
    bool m_confirmedThere = false;
    QString m_error;
};
