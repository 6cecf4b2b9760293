#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class VerkeersLeiding;

// The run screen's footer: Stop and the log toggle.
class FooterViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool stopVisible READ stopVisible NOTIFY changed)
    Q_PROPERTY(bool stopEnabled READ stopEnabled NOTIFY changed)
    Q_PROPERTY(QString logButtonText READ logButtonText NOTIFY changed)

public:
    explicit FooterViewModel(VerkeersLeiding &controller, QObject *parent = nullptr);

    bool stopVisible() const;
    bool stopEnabled() const;
    QString logButtonText() const;

    Q_INVOKABLE void stop();
    Q_INVOKABLE void toggleLog();

signals:
    void changed();

private:
    VerkeersLeiding &m_controller;
};
