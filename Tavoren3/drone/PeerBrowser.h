#pragma once

#include "drone/AnnouncementLimiter.h"
#include "drone/PeerId.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>
#include <optional>

// Listens for the announcements of peers offering one service and keeps the
// list of those seen now. Several browsers may listen side by side: the
// session's own, and the one of the sheet in which the operator picks a drone.
//
// The discovery port is 53530 unless TAVOREN_DISCOVERY_PORT names another;
// with TAVOREN_DISCOVERY=loopback only announcements on loopback arrive.
class PeerBrowser : public QObject
{
    Q_OBJECT

public:
    // A peer whose announcements arrive.
    struct Found
    {
        PeerId peer;
        QHostAddress address;
        quint16 port = 0;
        qint64 lastSeenMs = 0;

        // "host:port" of its link, as it can be typed to invite it.
        QString where() const { return address.toString() + QLatin1Char(':') + QString::number(port); }
    };

    // ownId: the identity of this process's own announcements, never listed.
    PeerBrowser(const QString &serviceType, const QString &ownId, QObject *parent = nullptr);

    static quint16 discoveryPort();

    // False, with the reason, when the discovery port cannot be bound.
    bool start(QString *error);
    void stop();
    bool isBrowsing() const { return m_browsing; }
    // The peers seen now, by name and then port; empty while stopped.
    QList<Found> foundPeers() const;
    std::optional<Found> find(const QString &peerId) const;

signals:
    void peerFound(const PeerId &peer);
    void peerLost(const PeerId &peer);
    // The list of peers seen now changed: found, lost, or cleared.
    void foundPeersChanged();

private:
    void readAnnouncements();
    void expire();

    QString m_serviceType;
    QString m_ownId;
    QUdpSocket m_socket;
    QTimer m_expiryTimer;
    QElapsedTimer m_clock;
    QHash<QString, Found> m_found;
    AnnouncementLimiter m_limiter;
    bool m_browsing = false;
};
