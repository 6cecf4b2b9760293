#pragma once

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>

// An ephemeral self-signed identity, made once per process. The link is
// encrypted; peers are not verified.
class TlsIdentity
{
public:
    static const TlsIdentity &shared();

    QSslConfiguration serverConfiguration() const;
    QSslConfiguration clientConfiguration() const;
    bool isValid() const { return !m_key.isNull() && !m_certificate.isNull(); }

private:
    TlsIdentity();

    QSslKey m_key;
    QSslCertificate m_certificate;
};
