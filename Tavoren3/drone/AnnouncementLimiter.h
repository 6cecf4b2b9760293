#pragma once

#include <QHash>
#include <QHostAddress>
#include <QtGlobal>

// How many announcements a browser reads, from one sender and from all, and
// how many peers it has not seen before one sender and all may bring in.
// A drone announces once a second; a flood beyond these is dropped unread.
class AnnouncementLimiter
{
public:
    // Whether a datagram from sender, arriving at nowMs, is read at all.
    bool admitDatagram(const QHostAddress &sender, qint64 nowMs);
    // Whether a peer not seen before, announced by sender, is taken in.
    bool admitNewPeer(const QHostAddress &sender, qint64 nowMs);

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
    static bool admit(QHash<QHostAddress, Bucket> &senders, Bucket &all, Rate perSender, Rate inAll,
                      const QHostAddress &sender, qint64 nowMs);

    QHash<QHostAddress, Bucket> m_datagrams;
    QHash<QHostAddress, Bucket> m_newPeers;
    Bucket m_allDatagrams;
    Bucket m_allNewPeers;
};
