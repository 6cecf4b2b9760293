#include "drone/DroneStateView.h"

#include "common/Console.h"
#include "drone/MultipeerSession.h"
#include "run/VerkeersLeiding.h"

DroneStateView::DroneStateView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session)
{
}

void DroneStateView::appeared()
{
    sendUnlessPaused();
}

bool DroneStateView::sendUnlessPaused()
{
    if (m_manager.pause()) {
        Console::line(viewName() + QStringLiteral(": App is paused, not sending state"));
        return false;
    }
    m_session.sendState(state());
    return true;
}
