#include "run/WorkingViewModel.h"

#include "drone/MultipeerSession.h"
#include "run/VerkeersLeiding.h"

WorkingViewModel::WorkingViewModel(VerkeersLeiding &controller, MultipeerSession &session, QObject *parent)
    : QObject(parent), m_controller(controller), m_session(session), m_lastState(session.state())
{
    connect(&m_session, &MultipeerSession::stateChanged, this, &WorkingViewModel::sessionStateChanged);
}

void WorkingViewModel::sessionStateChanged()
{
    const MultipeerSessionState state = m_session.state();
    const bool reconnected = state == MultipeerSessionState::connected && m_lastState != state;
    m_lastState = state;
    if (!reconnected)
        return;
    if (m_controller.running())
        m_controller.sendCurrentStepState();
    else if (m_controller.isCompleted())
        m_session.sendState(QStringLiteral("done")); // the run is over: not a paused step
}
