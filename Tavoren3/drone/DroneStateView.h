#pragma once

#include <QObject>
#include <QString>

class MultipeerSession;
class VerkeersLeiding;

// A step view whose content is shown on the drone: it sends its state when
// it appears, unless the run is paused.
class DroneStateView : public QObject
{
    Q_OBJECT

public:
    DroneStateView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent = nullptr);

    Q_INVOKABLE virtual void appeared();
    Q_INVOKABLE virtual void disappeared() {}

protected:
    // The view's name in its console lines.
    virtual QString viewName() const = 0;
    // The state it sends.
    virtual QString state() const = 0;
    // Sends state() unless paused; returns whether it was sent.
    bool sendUnlessPaused();

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
};
