#pragma once

#include "drone/DroneChannel.h"
#include "drone/MultipeerSessionState.h"
#include "drone/PeerTransport.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The timekeeper's end of the drone link: discovery, automatic invitation
// of a paired drone, pairing with a new one, the link state, and the
// numbered, acknowledged state messages.
//
// A drone is invited by itself only when its key is paired; a drone
// remembered by its name from before pairing existed is asked to pair once.
class MultipeerSession : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString stateText READ stateText NOTIFY stateChanged)
    Q_PROPERTY(bool isConnected READ isConnected NOTIFY stateChanged)
    Q_PROPERTY(QStringList connectedPeerNames READ connectedPeerNames NOTIFY connectedPeersChanged)
    Q_PROPERTY(QString receivedMessage READ receivedMessage WRITE setReceivedMessage NOTIFY receivedMessageChanged)
    Q_PROPERTY(QString lastMessage READ lastMessage NOTIFY lastMessageChanged)
    Q_PROPERTY(qint64 stateSequence READ stateSequence NOTIFY stateSequenceChanged)
    Q_PROPERTY(qint64 lastAckedSequence READ lastAckedSequence NOTIFY lastAckedSequenceChanged)
    Q_PROPERTY(bool autoInvite READ autoInvite WRITE setAutoInvite NOTIFY autoInviteChanged)
    Q_PROPERTY(QString displayName READ displayName CONSTANT)
    Q_PROPERTY(bool isPairing READ isPairing NOTIFY pairingChanged)
    Q_PROPERTY(QString pairingCode READ pairingCode NOTIFY pairingChanged)
    Q_PROPERTY(QString pairingPeerName READ pairingPeerName NOTIFY pairingChanged)
    Q_PROPERTY(bool pairingConfirmedHere READ pairingConfirmedHere NOTIFY pairingChanged)

public:
    static constexpr const char *serviceType = "swift-mc-demo";
    static constexpr const char *lastConnectedDroneKey = "LastConnectedDroneName";
    // The fingerprint of the last drone linked: the one invited by itself among the paired.
    static constexpr const char *lastConnectedDroneFingerprintKey = "LastConnectedDroneFingerprint";
    static constexpr int ackDelayMs = 700;
    static constexpr int invitationTimeoutMs = 10000;

    explicit MultipeerSession(const QString &displayName, QObject *parent = nullptr);

    QString displayName() const { return m_transport.localPeer().displayName; }
    PeerTransport &transport() { return m_transport; }
    // Another kind of drone, reached beside the transport's.
    void addLink(DroneChannel &link);

    MultipeerSessionState state() const { return m_state; }
    QString stateText() const { return multipeerSessionStateText(m_state); }
    bool isConnected() const { return m_state == MultipeerSessionState::connected; }
    QList<PeerId> connectedPeers() const { return m_connectedPeers; }
    // The drones linked now, of either kind.
    QList<PeerId> linkedPeers() const;
    QStringList connectedPeerNames() const;
    // The drones that can be seen now.
    QList<PeerBrowser::Found> foundPeers() const { return m_transport.foundPeers(); }
    QString receivedMessage() const { return m_receivedMessage; }
    void setReceivedMessage(const QString &message);
    QString lastMessage() const { return m_lastMessage; }
    qint64 stateSequence() const { return m_stateSequence; }
    qint64 lastAckedSequence() const { return m_lastAckedSequence; }
    bool autoInvite() const { return m_autoInvite; }
    void setAutoInvite(bool autoInvite);

    Q_INVOKABLE void startBrowsing() { m_transport.startBrowsing(); }
    Q_INVOKABLE void stopBrowsing() { m_transport.stopBrowsing(); }
    Q_INVOKABLE void startAdvertising() { m_transport.startAdvertising(); }
    Q_INVOKABLE void stopAdvertising() { m_transport.stopAdvertising(); }

    // Drops every link and attempt (the user is about to choose a drone).
    Q_INVOKABLE void cancelAllConnections();
    // Invites a peer a browser found, by its identity and address (the
    // peer browser's choice); one that is not paired is asked to pair.
    void invitePeer(const PeerBrowser::Found &found);
    // Invites a drone at "host:port", asking it to pair when it is not
    // paired; false when the text is no address.
    Q_INVOKABLE bool inviteAddress(const QString &address);

    // Pairing: the code both ends show while a pairing waits, and this end's answer.
    bool isPairing() const { return m_transport.isPairing(); }
    QString pairingCode() const { return m_transport.pairingCode(); }
    QString pairingPeerName() const { return m_transport.pairingPeer().displayName; }
    bool pairingConfirmedHere() const { return m_transport.pairingConfirmedHere(); }
    Q_INVOKABLE void confirmPairing() { m_transport.confirmPairing(); }
    Q_INVOKABLE void cancelPairing() { m_transport.cancelPairing(); }
    bool isPaired(const PeerId &peer) const { return m_transport.pairedDevices().contains(peer.key); }
    // Undoes the pairing with the drone of this key and drops its link.
    void forgetDrone(const PeerId &peer);

    // Sends one state to the drone, numbered; resent once when it is not
    // acknowledged within 0.7 s.
    Q_INVOKABLE void sendState(const QString &payload);
    void sendMessage(const QString &text);

    // Handles a text from the drone.
    void handleReceivedData(const QByteArray &data);

signals:
    void stateChanged();
    void connectedPeersChanged();
    void receivedMessageChanged();
    // Every text from the drone that is neither an acknowledgement nor a
    // state report, as it is handed to receivedMessage; also a repeat.
    void messageReceived(const QString &text);
    void lastMessageChanged();
    void stateSequenceChanged();
    void lastAckedSequenceChanged();
    void autoInviteChanged();
    void pairingChanged();
    // Every payload handed to sendState, in call order.
    void stateQueued(const QString &payload);

private:
    void peerFound(const PeerId &peer);
    void peerStateChanged(const PeerId &peer, PeerTransport::PeerState state);
    void setState(MultipeerSessionState state);

    void refreshConnectedPeers();

    PeerTransport m_transport;
    QList<DroneChannel *> m_links;
    MultipeerSessionState m_state = MultipeerSessionState::unknown;
    QList<PeerId> m_connectedPeers;
    QString m_receivedMessage;
    QString m_lastMessage;
    qint64 m_stateSequence = 0;
    qint64 m_lastAckedSequence = 0;
    bool m_autoInvite = true;
};
