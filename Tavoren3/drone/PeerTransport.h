#pragma once

#include "drone/ByteBudget.h"
#include "drone/LinkServer.h"
#include "drone/PairedDevices.h"
#include "drone/PeerBrowser.h"
#include "drone/PeerConnection.h"
#include "drone/PeerId.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <memory>

// The local-network peer link: discovery by UDP announcements, encrypted
// TCP links, one whole text per message.
//
// Announcements go to the broadcast addresses of the machine's interfaces,
// or, with TAVOREN_DISCOVERY=loopback, to loopback only, on the discovery
// port that PeerBrowser listens on.
//
// Only paired peers link: the key a peer's certificate shows must be in the
// paired list, and must be the key it announced. An unpaired peer may only
// pair, where pairing is taken at all, one pairing at a time, and the
// pairing holds once both ends have confirmed it. Each end keeps one link
// at a time: a second peer is refused while one is linked, unless it is
// the same peer (its key) coming back.
//
// With TAVOREN_DISCOVERY=loopback and TAVOREN_DEMO_PAIRING=1 a pairing with
// a peer on this machine is confirmed here by itself, for a demonstration.
class PeerTransport : public QObject
{
    Q_OBJECT

public:
    enum class PeerState { notConnected, connecting, connected };
    Q_ENUM(PeerState)

    static constexpr int pairingTimeoutMs = 120000;

    // pairedFile: where the paired peers are kept.
    PeerTransport(const QString &displayName, const QString &serviceType, const QString &pairedFile,
                  QObject *parent = nullptr);
    ~PeerTransport() override;

    const PeerId &localPeer() const { return m_local; }
    PairedDevices &pairedDevices() { return m_paired; }
    const PairedDevices &pairedDevices() const { return m_paired; }
    quint16 listeningPort() const { return m_server.serverPort(); }

    void startAdvertising();
    void stopAdvertising();
    bool isAdvertising() const { return m_advertising; }
    // Off: advertising takes invitations by address but announces nothing,
    // so no browser finds this peer.
    void setAnnouncing(bool announcing) { m_announcing = announcing; }
    void startBrowsing();
    void stopBrowsing();
    bool isBrowsing() const { return m_browser.isBrowsing(); }
    // The peers seen now, by name and then port; empty while not browsing.
    QList<PeerBrowser::Found> foundPeers() const { return m_browser.foundPeers(); }

    // Invites a peer this transport's browsing found; the outcome arrives as
    // state changes. With mayPair an unpaired peer is asked to pair instead.
    void invitePeer(const PeerId &peer, int timeoutMs, bool mayPair = false);
    // Invites a peer found by any browser, at the address it announced.
    void invitePeer(const PeerBrowser::Found &found, int timeoutMs, bool mayPair = false);
    // Invites whoever listens at host:port, for networks that block discovery.
    void inviteAddress(const QString &host, quint16 port, int timeoutMs, bool mayPair = false);
    void cancelConnectPeer(const PeerId &peer);
    QList<PeerId> connectedPeers() const;
    // Sends one text to every connected peer; false with a reason when it could not.
    bool send(const QByteArray &message, QString *error);

    // Whether an unpaired peer's invitation to pair is taken (the drone's end).
    void setTakesPairing(bool takes) { m_takesPairing = takes; }
    bool isPairing() const { return m_pairing != nullptr; }
    // The pairing under way: the peer, the code both ends show, and whether this end confirmed it.
    PeerId pairingPeer() const { return m_pairing ? m_pairing->peer() : PeerId{}; }
    QString pairingCode() const { return m_pairing ? m_pairingCode : QString(); }
    bool pairingConfirmedHere() const { return m_pairing && m_pairing->pairingConfirmedHere(); }
    // This end's confirmation of the pairing under way, and its refusal.
    void confirmPairing();
    void cancelPairing();
    bool pairsByItself() const { return m_pairsByItself; }

signals:
    void peerFound(const PeerId &peer);
    void peerLost(const PeerId &peer);
    void peerStateChanged(const PeerId &peer, PeerTransport::PeerState state);
    void dataReceived(const QByteArray &data, const PeerId &peer);
    void advertisingFailed(const QString &error);
    void browsingFailed(const QString &error);
    // A peer broke the frame limit and was disconnected.
    void peerMisbehaved(const PeerId &peer, const QString &what);
    // A pairing began, was confirmed here, or ended.
    void pairingChanged();
    void pairingEnded(const PeerId &peer, bool paired);

private:
    void announce(bool leaving = false);
    void adopt(PeerConnection *connection, int timeoutMs);
    void invite(PeerConnection *connection, bool mayPair);
    void acceptIncoming();
    void admit(PeerConnection *connection, const QJsonObject &theirs);
    // Whether a peer with this key may link now; closes an older link of the same key.
    bool makeRoomFor(PeerConnection *connection);
    void watchPairing(PeerConnection *connection);
    void refuse(PeerConnection *connection, const QString &why);
    QList<QHostAddress> announcementTargets() const;
    QJsonObject hello() const;

    PeerId m_local;
    QString m_serviceType;
    LinkServer m_server;
    PeerBrowser m_browser;
    QUdpSocket m_announcer;
    QTimer m_announceTimer;
    bool m_advertising = false;
    bool m_announcing = true;
    bool m_loopbackOnly = false;
    bool m_takesPairing = false;
    bool m_pairsByItself = false;
    PairedDevices m_paired;
    QList<PeerConnection *> m_connections;
    std::shared_ptr<ByteBudget> m_unread;
    PeerConnection *m_pairing = nullptr;
    QString m_pairingCode;
};
