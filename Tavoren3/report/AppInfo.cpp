#include "report/AppInfo.h"

#include "common/Clock.h"
#include "common/Console.h"
#include "report/UpdateManifest.h"
#include "report/VersionComparison.h"

#include <QLocale>
#include <QNetworkReply>

AppInfo::AppInfo(QObject *parent)
    : AppInfo(QStringLiteral(TAVOREN_VERSION), QStringLiteral(TAVOREN_BUILD), parent)
{
}

AppInfo::AppInfo(QString version, QString build, QObject *parent)
    : QObject(parent),
      m_version(version.isEmpty() ? QStringLiteral("no version info") : std::move(version)),
      m_build(build.isEmpty() ? QStringLiteral("no") : std::move(build)),
      m_manifestUrl(QStringLiteral(TAVOREN_MANIFEST_URL))
{
}

QString AppInfo::compileDate()
{
    const QDateTime compiled = QLocale::c().toDateTime(
        QString::fromLatin1(__DATE__ " " __TIME__).simplified(), QStringLiteral("MMM d yyyy HH:mm:ss"));
    if (!compiled.isValid())
        return QStringLiteral("No Compile Date");
    return QLocale::system().toString(compiled, QStringLiteral("ddMMM/yyyy hh:mm"));
}

void AppInfo::remindLater()
{
    const QDateTime now = Clock::current().now();
    m_remindLater = QDateTime(now.date().addDays(7), QTime(12, 0));
}

QUrl AppInfo::installerUrl()
{
    return QUrl(QStringLiteral(TAVOREN_INSTALLER_URL));
}

QUrl AppInfo::installLink() const
{
    return QUrl(QStringLiteral(TAVOREN_INSTALL_LINK_PREFIX) + m_manifestUrl.toString());
}

void AppInfo::fetchManifest(std::function<void()> done)
{
    QNetworkReply *reply = m_network.get(QNetworkRequest(m_manifestUrl));
    connect(reply, &QNetworkReply::finished, this, [this, reply, done = std::move(done)] {
        reply->deleteLater();
        // Any HTTP answer counts, whatever its status; no answer is a failed fetch.
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            takeManifest(reply->readAll());
        if (done)
            done();
    });
}

void AppInfo::takeManifest(const QByteArray &body)
{
    const UpdateManifest manifest = UpdateManifest::parse(body);
    if (!manifest.parsed) {
        Console::line(QStringLiteral("Error parsing plist: ") + manifest.error);
        return;
    }
    if (!manifest.hasMetadata)
        return;
    Console::line(QStringLiteral("Meta ") + manifest.metadataText);
    m_serverVersion = manifest.version;
    m_serverBuild = manifest.build;
    Console::line(QStringLiteral("version ") + m_serverVersion.value_or(QStringLiteral("nil")) + QStringLiteral(" build ")
                  + m_serverBuild.value_or(QStringLiteral("nil")));
    emit serverInfoChanged();
}

bool AppInfo::isNewVersionAvailable() const
{
    if (m_remindLater && *m_remindLater > Clock::current().now())
        return false;
    if (!m_serverVersion)
        return false;
    Console::line(QStringLiteral("Running version:") + m_version + QStringLiteral(" Version on Server: ")
                  + *m_serverVersion);
    const QList<qint64> server = VersionComparison::normalise(*m_serverVersion);
    // A server version without any number announces nothing.
    if (server.isEmpty())
        return false;
    if (const int order = VersionComparison::compare(VersionComparison::normalise(m_version), server))
        return order < 0;
    if (!m_serverBuild)
        return false;
    const QList<qint64> runningBuild = VersionComparison::normalise(m_build);
    const QList<qint64> serverBuild = VersionComparison::normalise(*m_serverBuild);
    if (runningBuild.isEmpty())
        return true;
    if (serverBuild.isEmpty())
        return false;
    return VersionComparison::compare(runningBuild, serverBuild) < 0;
}

QString AppInfo::versionLine() const
{
    return QStringLiteral("Version: ") + m_version + QStringLiteral(" Build: ") + m_build +
           QStringLiteral(" WebVersion: ") + serverVersionText();
}
