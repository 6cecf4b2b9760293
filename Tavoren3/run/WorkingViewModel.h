#pragma once

#include "drone/MultipeerSessionState.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class VerkeersLeiding;

// The run screen: a drone that (re)connects during a run is given the
// current step's state at once, and after the last step that the run is done.
class WorkingViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")

public:
    WorkingViewModel(VerkeersLeiding &controller, MultipeerSession &session, QObject *parent = nullptr);

private:
    void sessionStateChanged();

    VerkeersLeiding &m_controller;
    MultipeerSession &m_session;
    MultipeerSessionState m_lastState;
};
