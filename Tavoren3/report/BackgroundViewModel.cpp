#include "report/BackgroundViewModel.h"

#include "common/Clock.h"

#include <QPointer>

BackgroundViewModel::BackgroundViewModel(AppInfo &appInfo, UrlOpener &urlOpener, QObject *parent)
    : QObject(parent), m_appInfo(appInfo), m_urlOpener(urlOpener)
{
    connect(&m_appInfo, &AppInfo::serverInfoChanged, this, &BackgroundViewModel::alertTextChanged);
}

void BackgroundViewModel::setShowingUpdateAlertView(bool showing)
{
    if (m_showing == showing)
        return;
    m_showing = showing;
    emit showingUpdateAlertViewChanged();
}

QString BackgroundViewModel::currentVersionText() const
{
    return QStringLiteral(" Current version ") + m_appInfo.appVersion() + QStringLiteral(" \t Build: ")
        + m_appInfo.appBuild();
}

QString BackgroundViewModel::newVersionText() const
{
    return QStringLiteral(" New version ") + m_appInfo.serverVersion().value_or(QStringLiteral("No Version Info"))
        + QStringLiteral("\t Build: ") + m_appInfo.serverBuild().value_or(QStringLiteral("No Build available "));
}

void BackgroundViewModel::appeared()
{
    const QDate today = Clock::current().now().date();
    if (today.month() == 12 && today.day() > 10)
        setShowingUpdateAlertView(true);
    QPointer<BackgroundViewModel> self(this);
    m_appInfo.fetchManifest([self] {
        if (!self)
            return;
        self->setShowingUpdateAlertView(self->m_appInfo.isNewVersionAvailable());
        emit self->checkFinished();
    });
}

QStringList BackgroundViewModel::alertButtons()
{
    return {QStringLiteral("No Thanks"), QStringLiteral("Remind me later"), QStringLiteral("Go To installer Web Site"),
            QStringLiteral("Install")};
}

void BackgroundViewModel::chooseAlertButton(const QString &button)
{
    const QStringList buttons = alertButtons();
    if (button == buttons.at(0))
        noThanks();
    else if (button == buttons.at(1))
        remindMeLater();
    else if (button == buttons.at(2))
        goToInstallerWebSite();
    else if (button == buttons.at(3))
        install();
}

void BackgroundViewModel::noThanks()
{
    setShowingUpdateAlertView(false);
}

void BackgroundViewModel::remindMeLater()
{
    m_appInfo.remindLater();
    setShowingUpdateAlertView(false);
}

void BackgroundViewModel::goToInstallerWebSite()
{
    m_urlOpener.open(AppInfo::installerUrl());
    setShowingUpdateAlertView(false);
}

void BackgroundViewModel::install()
{
    m_urlOpener.open(m_appInfo.installLink());
    setShowingUpdateAlertView(false);
}
