#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class CurrentProtocol;
class MultipeerSession;
class VerkeersLeiding;

// The run screen's header: the step's label id, the protocol and the link
// to the drone.
class HeaderViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString labelIdText READ labelIdText NOTIFY changed)
    Q_PROPERTY(QString researchName READ researchName NOTIFY changed)
    Q_PROPERTY(QString droneStatusText READ droneStatusText NOTIFY changed)
    Q_PROPERTY(QString droneStatusColor READ droneStatusColor NOTIFY changed)
    Q_PROPERTY(double opacity READ opacity NOTIFY changed)

public:
    HeaderViewModel(MultipeerSession &session, VerkeersLeiding &controller, CurrentProtocol &protocol,
                    QObject *parent = nullptr);

    QString labelIdText() const;
    QString researchName() const;
    QString droneStatusText() const;
    // Empty while the protocol does not use a drone.
    QString droneStatusColor() const;
    double opacity() const;

signals:
    void changed();

private:
    bool usesDrone() const;

    MultipeerSession &m_session;
    VerkeersLeiding &m_controller;
    CurrentProtocol &m_protocol;
};
