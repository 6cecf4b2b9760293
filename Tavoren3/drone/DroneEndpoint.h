#pragma once

#include "drone/PeerTransport.h"

#include <QObject>
#include <QString>

// The drone's end of the link: discoverable, links with one paired
// timekeeper at a time, takes a pairing when it is confirmed here too,
// acknowledges every state at once and keeps the latest payload.
class DroneEndpoint : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString payload READ payload NOTIFY payloadChanged)
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString pairingCode READ pairingCode NOTIFY pairingChanged)
    Q_PROPERTY(QString pairingPeerName READ pairingPeerName NOTIFY pairingChanged)
    Q_PROPERTY(bool pairingConfirmedHere READ pairingConfirmedHere NOTIFY pairingChanged)

public:
    explicit DroneEndpoint(const QString &displayName, QObject *parent = nullptr);

    PeerTransport &transport() { return m_transport; }
    void start();

    QString payload() const { return m_payload; }
    bool connected() const { return !m_transport.connectedPeers().isEmpty(); }
    // Invites the first paired timekeeper found, as well as waiting for it.
    void setInviteFound(bool invite) { m_inviteFound = invite; }

    // While a timekeeper asks to pair: the code both ends show, empty otherwise.
    QString pairingCode() const { return m_transport.pairingCode(); }
    QString pairingPeerName() const { return m_transport.pairingPeer().displayName; }
    bool pairingConfirmedHere() const { return m_transport.pairingConfirmedHere(); }
    Q_INVOKABLE void confirmPairing() { m_transport.confirmPairing(); }
    Q_INVOKABLE void cancelPairing() { m_transport.cancelPairing(); }
    // Undoes every pairing; the number of timekeepers forgotten.
    int forgetTimekeepers();

    // Test-harness controls.
    void setAckDelayMs(int ms) { m_ackDelayMs = ms; }
    // The next n acknowledgements are not sent; -1 drops all of them.
    void dropAcks(int n) { m_acksToDrop = n; }
    void setDuplicateAcks(bool duplicate) { m_duplicateAcks = duplicate; }
    Q_INVOKABLE void sendSlider(int value);
    Q_INVOKABLE void disconnectAll();
    bool sendRaw(const QByteArray &bytes);

    // Handles one text from the timekeeper.
    void handleMessage(const QByteArray &data);

signals:
    void payloadChanged();
    // Every state that arrived, with its number; a resend, or a state older
    // than the newest of this link, comes as a repeat and is not shown.
    void stateReceived(qint64 sequence, const QString &payload, bool repeat);
    void connectedChanged();
    void pairingChanged();

private:
    void acknowledge(qint64 sequence);

    PeerTransport m_transport;
    QString m_payload;
    qint64 m_newestSequence = -1;
    int m_ackDelayMs = 0;
    int m_acksToDrop = 0;
    bool m_duplicateAcks = false;
    bool m_inviteFound = false;
};
