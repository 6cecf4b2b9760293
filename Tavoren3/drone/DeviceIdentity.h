#pragma once

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QString>

// This program's lasting key pair and self-signed certificate for the drone
// link, kept in one file (mode 0600) in a configuration folder: read when it
// is there, made on first use. A file that does not read is kept aside and a
// new identity made. Peers know each other by the certificate's fingerprint.
class DeviceIdentity
{
public:
    static constexpr const char *fileName = "link-identity.pem";

    // The identity in `folder`, made there when missing.
    explicit DeviceIdentity(const QString &folder);
    // This program's identity, in its configuration folder.
    static const DeviceIdentity &shared();

    // SHA-256 of a certificate, in lowercase hex.
    static QString fingerprintOf(const QSslCertificate &certificate);
    QString fingerprint() const { return m_fingerprint; }
    QString filePath() const { return m_path; }
    bool isValid() const { return !m_key.isNull() && !m_certificate.isNull(); }

    // Both ends present their certificate and ask for the peer's; the peer
    // is judged by its fingerprint, not by a certificate authority.
    QSslConfiguration configuration() const;

private:
    bool read();
    bool adopt(const QByteArray &pem);
    bool make();

    QString m_path;
    QSslKey m_key;
    QSslCertificate m_certificate;
    QString m_fingerprint;
};
