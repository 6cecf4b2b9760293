#pragma once

#include "drone/PeerTransport.h"

#include <QObject>
#include <QString>

// The drone's end of the link: discoverable, accepts every invitation,
// acknowledges every state at once and keeps the latest payload.
class DroneEndpoint : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString payload READ payload NOTIFY payloadChanged)
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)

public:
    explicit DroneEndpoint(const QString &displayName, QObject *parent = nullptr);

    PeerTransport &transport() { return m_transport; }
    void start();

    QString payload() const { return m_payload; }
    bool connected() const { return !m_transport.connectedPeers().isEmpty(); }
    // Invites the first timekeeper found, as well as waiting for it.
    void setInviteFound(bool invite) { m_inviteFound = invite; }

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
