#pragma once

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

// The running build's version facts and what the update server announced
// last. One instance lives as long as the application.
class AppInfo : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
    Q_PROPERTY(QString appBuild READ appBuild CONSTANT)
    Q_PROPERTY(QString compileDate READ compileDate CONSTANT)
    Q_PROPERTY(QString serverVersionText READ serverVersionText NOTIFY serverInfoChanged)
    Q_PROPERTY(QString versionLine READ versionLine NOTIFY serverInfoChanged)
    Q_PROPERTY(QString buildDateLine READ buildDateLine CONSTANT)

public:
    explicit AppInfo(QObject *parent = nullptr);
    // A build with other facts, for tests.
    AppInfo(QString version, QString build, QObject *parent = nullptr);

    QString appVersion() const { return m_version; }
    QString appBuild() const { return m_build; }
    // The moment this build was compiled, "ddMMM/yyyy hh:mm".
    static QString compileDate();

    std::optional<QString> serverVersion() const { return m_serverVersion; }
    std::optional<QString> serverBuild() const { return m_serverBuild; }
    // The server's version, or "NO" when none is known.
    QString serverVersionText() const { return m_serverVersion.value_or(QStringLiteral("NO")); }
    // "Version: " ... " Build: " ... " WebVersion: " ..., as the screens show it.
    QString versionLine() const;
    static QString buildDateLine() { return QStringLiteral("BuildDate: ") + compileDate(); }

    std::optional<QDateTime> remindLaterDate() const { return m_remindLater; }
    // 12:00 today plus seven days.
    void remindLater();

    QUrl manifestUrl() const { return m_manifestUrl; }
    void setManifestUrl(const QUrl &url) { m_manifestUrl = url; }
    static QUrl installerUrl();
    QUrl installLink() const;

    // GETs the manifest and keeps what it announces; done runs when the
    // fetch has ended, whatever its outcome.
    void fetchManifest(std::function<void()> done);
    // Takes over what a manifest body announces.
    void takeManifest(const QByteArray &body);
    bool isNewVersionAvailable() const;

signals:
    void serverInfoChanged();

private:
    QString m_version;
    QString m_build;
    std::optional<QString> m_serverVersion;
    std::optional<QString> m_serverBuild;
    std::optional<QDateTime> m_remindLater;
    QUrl m_manifestUrl;
    QNetworkAccessManager m_network;
};
