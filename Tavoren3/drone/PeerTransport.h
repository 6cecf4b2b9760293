#pragma once

#include "drone/ByteBudget.h"
#include "drone/LinkServer.h"
#include "drone/PeerBrowser.h"
#include "drone/PeerConnection.h"
#include "drone/PeerId.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <functional>
#include <memory>

// The local-network peer link: discovery by UDP announcements, encrypted
// TCP links, one whole text per message.
//
// Announcements go to the broadcast addresses of the machine's interfaces,
// or, with TAVOREN_DISCOVERY=loopback, to loopback only, on the discovery
// port that PeerBrowser listens on.
class PeerTransport : public QObject
{
    Q_OBJECT

public:
    enum class PeerState { notConnected, connecting, connected };
    Q_ENUM(PeerState)

    PeerTransport(const QString &displayName, const QString &serviceType, QObject *parent = nullptr);
    ~PeerTransport() override;

    const PeerId &localPeer() const { return m_local; }
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

    // Invites a peer this transport's browsing found; the outcome arrives as state changes.
    void invitePeer(const PeerId &peer, int timeoutMs);
    // Invites a peer found by any browser, at the address it announced.
    void invitePeer(const PeerBrowser::Found &found, int timeoutMs);
    // Invites whoever listens at host:port, for networks that block discovery.
    void inviteAddress(const QString &host, quint16 port, int timeoutMs);
    void cancelConnectPeer(const PeerId &peer);
    QList<PeerId> connectedPeers() const;
    // Sends one text to every connected peer; false with a reason when it could not.
    bool send(const QByteArray &message, QString *error);

    // Decides on each invitation; without one, every invitation is accepted.
    void setInvitationHandler(std::function<bool(const PeerId &)> handler) { m_invitationHandler = std::move(handler); }

signals:
    void peerFound(const PeerId &peer);
    void peerLost(const PeerId &peer);
    void peerStateChanged(const PeerId &peer, PeerTransport::PeerState state);
    void dataReceived(const QByteArray &data, const PeerId &peer);
    void advertisingFailed(const QString &error);
    void browsingFailed(const QString &error);
    // A peer broke the frame limit and was disconnected.
    void peerMisbehaved(const PeerId &peer, const QString &what);

private:
    void announce(bool leaving = false);
    void adopt(PeerConnection *connection, int timeoutMs);
    void acceptIncoming();
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
    QList<PeerConnection *> m_connections;
    std::shared_ptr<ByteBudget> m_unread;
    std::function<bool(const PeerId &)> m_invitationHandler;
};
