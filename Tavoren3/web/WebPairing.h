#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The pairing of one browser: a one-time secret for the page's address,
// valid ten minutes; a six-digit code shown on the page and to the
// operator; after the operator confirms, a long-lived secret the browser
// keeps. Only a digest of that secret is stored (in the settings).
class WebPairing
{
public:
    static constexpr qint64 pairingValidMs = 10 * 60 * 1000;
    static constexpr const char *settingsKey = "WebDroneSecretDigest";

    // A new one-time secret; the one before is void.
    QString newPairingSecret();
    QString pairingSecret() const { return m_pairingSecret; }
    bool pairingSecretValid() const;
    // The page presents the one-time secret: the code for both screens, or
    // nothing when the secret is not the valid one. It can be used once.
    std::optional<QString> startPairing(const QString &secret);
    // The code waiting for the operator's confirmation; empty when none.
    QString pendingCode() const { return m_pendingCode; }
    // The operator confirms the code: the browser's long-lived secret.
    std::optional<QString> confirm();
    void cancelPending() { m_pendingCode.clear(); }

    bool knows(const QString &deviceSecret) const;
    bool hasPairedDrone() const;
    // "Forget this drone": the browser's secret no longer opens the link.
    void forget();

private:
    QString m_pairingSecret;
    QDateTime m_pairingIssued;
    QString m_pendingCode;
};
