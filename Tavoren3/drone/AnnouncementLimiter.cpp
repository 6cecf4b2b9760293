#include "drone/AnnouncementLimiter.h"

#include <algorithm>

namespace {
constexpr qsizetype sendersKept = 256;
}

bool AnnouncementLimiter::take(Bucket &bucket, Rate rate, qint64 nowMs)
{
    if (bucket.tokens < 0)
        bucket.tokens = rate.burst;
    else
        bucket.tokens = std::min(rate.burst, bucket.tokens + double(nowMs - bucket.atMs) * rate.perSecond / 1000.0);
    bucket.atMs = nowMs;
    if (bucket.tokens < 1.0)
        return false;
    bucket.tokens -= 1.0;
    return true;
}

QString AnnouncementLimiter::senderOf(const QHostAddress &address, quint16 port)
{
    return address.isLoopback() ? address.toString() + QLatin1Char(':') + QString::number(port) : address.toString();
}

bool AnnouncementLimiter::admit(QHash<QString, Bucket> &senders, Bucket &all, Rate perSender, Rate inAll,
                                const QString &sender, qint64 nowMs)
{
    if (senders.size() >= sendersKept && !senders.contains(sender)) {
        // Senders whose buckets have filled again are as good as new.
        senders.removeIf([&](const auto &entry) {
            return entry.value().tokens + double(nowMs - entry.value().atMs) * perSender.perSecond / 1000.0
                >= perSender.burst;
        });
        if (senders.size() >= sendersKept)
            return false;
    }
    Bucket &own = senders[sender];
    Bucket probe = own;
    if (!take(probe, perSender, nowMs) || !take(all, inAll, nowMs))
        return false;
    own = probe;
    return true;
}

bool AnnouncementLimiter::admitDatagram(const QHostAddress &sender, quint16 senderPort, qint64 nowMs)
{
    return admit(m_datagrams, m_allDatagrams, Rate{10, 5}, Rate{40, 20}, senderOf(sender, senderPort), nowMs);
}

bool AnnouncementLimiter::admitNewPeer(const QHostAddress &sender, quint16 senderPort, qint64 nowMs)
{
    return admit(m_newPeers, m_allNewPeers, Rate{4, 0.1}, Rate{8, 0.2}, senderOf(sender, senderPort), nowMs);
}
