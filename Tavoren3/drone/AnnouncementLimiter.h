#pragma once

#include <QHash>
#include <QHostAddress>
#include <QString>
#include <QtGlobal>

// How many announcements a browser reads, from one sender and from all, and
// how many peers it has not seen before one sender and all may bring in.
// A drone announces once a second; a flood beyond these is dropped unread.
// A sender is an address; programs on this machine share the loopback
// address, so there the sending port tells them apart.
class AnnouncementLimiter
{
public:
    // Whether a datagram from sender, arriving at nowMs, is read at all.
    bool admitDatagram(const QHostAddress &sender, quint16 senderPort, qint64 nowMs);
    // Whether a peer not seen before, announced by sender, is taken in.
    bool admitNewPeer(const QHostAddress &sender, quint16 senderPort, qint64 nowMs);

private:
    // A token bucket: up to `burst` at once, refilled at `perSecond`.
    struct Rate
    {
        double burst;
        double perSecond;
    };
    struct Bucket
    {
        double tokens = -1; // full when first used
        qint64 atMs = 0;
    };
    static bool take(Bucket &bucket, Rate rate, qint64 nowMs);
    static bool admit(QHash<QString, Bucket> &senders, Bucket &all, Rate perSender, Rate inAll,
                      const QString &sender, qint64 nowMs);
    static QString senderOf(const QHostAddress &address, quint16 port);

    QHash<QString, Bucket> m_datagrams;
    QHash<QString, Bucket> m_newPeers;
    Bucket m_allDatagrams;
    Bucket m_allNewPeers;
};
