#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The record of the step in progress.
class Step : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by VerkeersLeiding for each step it starts.")
    Q_PROPERTY(QString Starttijd READ Starttijd CONSTANT)
    Q_PROPERTY(QString testID READ testID CONSTANT)
    Q_PROPERTY(QString testLabel READ testLabel CONSTANT)

public:
    Step(QString starttijd, QString testID, QString testLabel, QObject *parent = nullptr)
        : QObject(parent), m_starttijd(std::move(starttijd)), m_testID(std::move(testID)),
          m_testLabel(std::move(testLabel))
    {
    }

    QString Starttijd() const { return m_starttijd; }
    std::optional<QString> StopTijd() const { return m_stopTijd; }
    QString testID() const { return m_testID; }
    QString testLabel() const { return m_testLabel; }

private:
    QString m_starttijd;
    std::optional<QString> m_stopTijd;
    QString m_testID;
    QString m_testLabel;
};
