#pragma once

#include "report/AppInfo.h"
#include "report/UrlOpener.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// The full-screen background: checks for a newer build each time it
// appears and offers it in an alert.
class BackgroundViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool showingUpdateAlertView READ showingUpdateAlertView WRITE setShowingUpdateAlertView NOTIFY
                   showingUpdateAlertViewChanged)
    Q_PROPERTY(QString alertTitle READ alertTitle CONSTANT)
    Q_PROPERTY(QString currentVersionText READ currentVersionText NOTIFY alertTextChanged)
    Q_PROPERTY(QString newVersionText READ newVersionText NOTIFY alertTextChanged)
    Q_PROPERTY(QStringList alertButtons READ alertButtons CONSTANT)
    // The button Escape answers ("Install" has the cancel role), and the destructive ones.
    Q_PROPERTY(QString alertCancelButton READ alertCancelButton CONSTANT)
    Q_PROPERTY(QStringList alertDestructiveButtons READ alertDestructiveButtons CONSTANT)

public:
    BackgroundViewModel(AppInfo &appInfo, UrlOpener &urlOpener, QObject *parent = nullptr);

    bool showingUpdateAlertView() const { return m_showing; }
    void setShowingUpdateAlertView(bool showing);

    QString alertTitle() const { return QStringLiteral("New version is available:"); }
    QString currentVersionText() const;
    QString newVersionText() const;

    // From 11 to 31 December the alert opens at once; the check's answer
    // then decides whether it stays.
    Q_INVOKABLE void appeared();

    static QStringList alertButtons();
    static QString alertCancelButton() { return alertButtons().at(3); }
    static QStringList alertDestructiveButtons() { return alertButtons().mid(0, 2); }
    // One of alertButtons pressed.
    Q_INVOKABLE void chooseAlertButton(const QString &button);
    Q_INVOKABLE void noThanks();
    Q_INVOKABLE void remindMeLater();
    Q_INVOKABLE void goToInstallerWebSite();
    Q_INVOKABLE void install();

signals:
    void showingUpdateAlertViewChanged();
    void alertTextChanged();
    void checkFinished();

private:
    AppInfo &m_appInfo;
    UrlOpener &m_urlOpener;
    bool m_showing = false;
};
