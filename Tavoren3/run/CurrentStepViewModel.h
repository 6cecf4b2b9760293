#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class VerkeersLeiding;

// The current step on the run screen: its name, the timer with its colour
// and arrow, and the control row with its visibility and enabling rules.
class CurrentStepViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString nameText READ nameText NOTIFY changed)
    Q_PROPERTY(QString numericIdText READ numericIdText NOTIFY changed)
    Q_PROPERTY(QString descriptionText READ descriptionText NOTIFY changed)
    Q_PROPERTY(QString timerText READ timerText NOTIFY changed)
    Q_PROPERTY(QString timerColor READ timerColor NOTIFY changed)
    Q_PROPERTY(QString arrowIcon READ arrowIcon NOTIFY changed)
    Q_PROPERTY(bool doneVisible READ doneVisible NOTIFY changed)
    Q_PROPERTY(bool pauseVisible READ pauseVisible NOTIFY changed)
    Q_PROPERTY(QString pauseText READ pauseText NOTIFY changed)
    Q_PROPERTY(bool backEnabled READ backEnabled NOTIFY changed)
    Q_PROPERTY(bool skipEnabled READ skipEnabled NOTIFY changed)
    Q_PROPERTY(bool restartEnabled READ restartEnabled NOTIFY changed)
    Q_PROPERTY(bool sliderWarningShown READ sliderWarningShown NOTIFY changed)
    Q_PROPERTY(QString sliderWarningTitle READ sliderWarningTitle CONSTANT)
    Q_PROPERTY(QString sliderWarningMessage READ sliderWarningMessage CONSTANT)

public:
    explicit CurrentStepViewModel(VerkeersLeiding &controller, QObject *parent = nullptr);

    QString nameText() const;
    QString numericIdText() const;
    QString descriptionText() const;
    QString timerText() const;
    QString timerColor() const;
    // Empty while paused.
    QString arrowIcon() const;
    bool doneVisible() const;
    bool pauseVisible() const;
    QString pauseText() const;
    bool backEnabled() const;
    bool skipEnabled() const;
    bool restartEnabled() const;
    bool sliderWarningShown() const;
    static QString sliderWarningTitle() { return QStringLiteral("Slider value not received"); }
    static QString sliderWarningMessage()
    {
        return QStringLiteral("This step uses the slider. Continuing before the slider value is received and "
                              "displayed is not advised.");
    }

    Q_INVOKABLE void done();
    Q_INVOKABLE void pauseOrContinue();
    Q_INVOKABLE void back();
    Q_INVOKABLE void skip();
    Q_INVOKABLE void restart();
    Q_INVOKABLE void proceedAnyway();
    Q_INVOKABLE void wait();

signals:
    void changed();

private:
    bool stopped() const;

    VerkeersLeiding &m_controller;
};
