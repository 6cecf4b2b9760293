#include "drone/PairingCode.h"

#include <QCryptographicHash>

#include <algorithm>

QString PairingCode::between(const QString &fingerprint, const QString &otherFingerprint)
{
    const auto [low, high] = std::minmax(fingerprint, otherFingerprint);
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromHex(low.toLatin1()) + QByteArray::fromHex(high.toLatin1()),
                                                       QCryptographicHash::Sha256);
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | quint8(digest.at(i));
    return QStringLiteral("%1").arg(value % 1000000, 6, 10, QLatin1Char('0'));
}
