#include "web/WebPairing.h"

#include "common/Clock.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSettings>

namespace {

QString randomSecret()
{
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(words), sizeof words)
                                   .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QString digest(const QString &secret)
{
    return QString::fromLatin1(QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex());
}

} // namespace

QString WebPairing::newPairingSecret()
{
    m_pairingSecret = randomSecret();
    m_pairingIssued = Clock::current().now();
    m_pendingCode.clear();
    return m_pairingSecret;
}

bool WebPairing::pairingSecretValid() const
{
    return !m_pairingSecret.isEmpty() && m_pairingIssued.msecsTo(Clock::current().now()) < pairingValidMs;
}

std::optional<QString> WebPairing::startPairing(const QString &secret)
{
    if (!pairingSecretValid() || secret != m_pairingSecret)
        return std::nullopt;
    m_pairingSecret.clear();
    m_pendingCode = QStringLiteral("%1").arg(QRandomGenerator::system()->bounded(1000000), 6, 10, QLatin1Char('0'));
    return m_pendingCode;
}

std::optional<QString> WebPairing::confirm()
{
    if (m_pendingCode.isEmpty())
        return std::nullopt;
    m_pendingCode.clear();
    const QString secret = randomSecret();
    QSettings().setValue(QString::fromLatin1(settingsKey), digest(secret));
    return secret;
}

bool WebPairing::knows(const QString &deviceSecret) const
{
    const QString stored = QSettings().value(QString::fromLatin1(settingsKey)).toString();
    return !deviceSecret.isEmpty() && !stored.isEmpty() && digest(deviceSecret) == stored;
}

bool WebPairing::hasPairedDrone() const
{
    return !QSettings().value(QString::fromLatin1(settingsKey)).toString().isEmpty();
}

void WebPairing::forget()
{
    QSettings().remove(QString::fromLatin1(settingsKey));
}
