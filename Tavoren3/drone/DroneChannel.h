#pragma once

#include "drone/PeerId.h"
#include "drone/PeerTransport.h"

#include <QByteArray>
#include <QList>
#include <QObject>

// A kind of drone the session sends to beside its own transport: the same
// texts go out, the same reports and texts come back.
class DroneChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QList<PeerId> connectedPeers() const = 0;
    // Sends one text to the connected drone; false with a reason when it could not.
    virtual bool send(const QByteArray &message, QString *error) = 0;
    // Drops the link (the operator chose another drone).
    virtual void disconnectPeers() = 0;

signals:
    void peerStateChanged(const PeerId &peer, PeerTransport::PeerState state);
    void dataReceived(const QByteArray &data, const PeerId &peer);
};
