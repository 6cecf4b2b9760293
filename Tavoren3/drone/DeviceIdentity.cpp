#include "drone/DeviceIdentity.h"

#include "common/Console.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>

namespace {

template <class T, void (*Free)(T *)>
struct Deleter
{
    void operator()(T *p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Deleter<X509, X509_free>>;
using Bio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;

QByteArray bioBytes(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, int(size));
}

} // namespace

DeviceIdentity::DeviceIdentity(const QString &folder) : m_path(QDir(folder).filePath(QString::fromLatin1(fileName)))
{
    if (QFileInfo::exists(m_path)) {
        if (read())
            return;
        QString aside = m_path + QStringLiteral(".unreadable");
        if (QFileInfo::exists(aside))
            aside += QLatin1Char('-') + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
        QFile::rename(m_path, aside);
        Console::line(QStringLiteral("The drone link identity in %1 does not read; it is kept as %2 and a new one is made")
                          .arg(m_path, aside));
    }
    if (!make())
        Console::line(QStringLiteral("Could not make a key for the drone link in ") + m_path);
}

const DeviceIdentity &DeviceIdentity::shared()
{
    static const DeviceIdentity identity(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    return identity;
}

QString DeviceIdentity::fingerprintOf(const QSslCertificate &certificate)
{
    return certificate.isNull() ? QString()
                                : QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex());
}

bool DeviceIdentity::read()
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) && adopt(file.readAll());
}

bool DeviceIdentity::adopt(const QByteArray &pem)
{
    const Bio keyBio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    const Bio certificateBio(BIO_new_mem_buf(pem.constData(), int(pem.size())));
    const Key key(PEM_read_bio_PrivateKey(keyBio.get(), nullptr, nullptr, nullptr));
    const Certificate certificate(PEM_read_bio_X509(certificateBio.get(), nullptr, nullptr, nullptr));
    if (!key || !certificate || X509_check_private_key(certificate.get(), key.get()) != 1)
        return false;
    const Bio keyPem(BIO_new(BIO_s_mem()));
    PEM_write_bio_PrivateKey(keyPem.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    m_key = QSslKey(bioBytes(keyPem.get()), QSsl::Ec, QSsl::Pem);
    const QList<QSslCertificate> certificates = QSslCertificate::fromData(pem, QSsl::Pem);
    m_certificate = certificates.isEmpty() ? QSslCertificate() : certificates.first();
    m_fingerprint = fingerprintOf(m_certificate);
    return isValid();
}

bool DeviceIdentity::make()
{
    const Key key(EVP_EC_gen("P-256"));
    const Certificate certificate(X509_new());
    if (!key || !certificate)
        return false;
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 3600L * 24 * 365 * 30);
    X509_set_pubkey(certificate.get(), key.get());
    X509_NAME *name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("tavoren"), -1, -1, 0);
    X509_set_issuer_name(certificate.get(), name);
    if (X509_sign(certificate.get(), key.get(), EVP_sha256()) == 0)
        return false;
    const Bio pem(BIO_new(BIO_s_mem()));
    PEM_write_bio_PrivateKey(pem.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    PEM_write_bio_X509(pem.get(), certificate.get());
    const QByteArray bytes = bioBytes(pem.get());

    if (!adopt(bytes))
        return false;
    // Kept for the next start; without the file this start still links, under a key of its own.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.flush())
        Console::line(QStringLiteral("Could not keep the drone link identity in %1: %2").arg(m_path, file.errorString()));
    return true;
}

QSslConfiguration DeviceIdentity::configuration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setPrivateKey(m_key);
    configuration.setLocalCertificate(m_certificate);
    configuration.setPeerVerifyMode(QSslSocket::QueryPeer);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    return configuration;
}
