#pragma once

#include "model/DeelTestje.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class VerkeersLeiding;

// The preview of the step after the current one.
class NextStepViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool hasNextStep READ hasNextStep NOTIFY changed)
    Q_PROPERTY(QString nextIdText READ nextIdText NOTIFY changed)
    Q_PROPERTY(QString nextName READ nextName NOTIFY changed)
    Q_PROPERTY(QString nextDescription READ nextDescription NOTIFY changed)

public:
    explicit NextStepViewModel(VerkeersLeiding &controller, QObject *parent = nullptr);

    bool hasNextStep() const;
    QString nextIdText() const;
    QString nextName() const;
    QString nextDescription() const;

signals:
    void changed();

private:
    std::optional<DeelTestje> nextStep() const;

    VerkeersLeiding &m_controller;
};
