#include "run/HeaderViewModel.h"

#include "common/ChangeForwarding.h"
#include "drone/MultipeerSession.h"
#include "model/CurrentProtocol.h"
#include "run/VerkeersLeiding.h"

HeaderViewModel::HeaderViewModel(MultipeerSession &session, VerkeersLeiding &controller, CurrentProtocol &protocol,
                                 QObject *parent)
    : QObject(parent), m_session(session), m_controller(controller), m_protocol(protocol)
{
    forwardChanges(m_session, *this);
    forwardChanges(m_controller, *this);
    forwardChanges(*m_protocol.currentProtocol(), *this);
}

bool HeaderViewModel::usesDrone() const
{
    return m_protocol.currentProtocol()->usesDrone();
}

QString HeaderViewModel::labelIdText() const
{
    const auto step = m_controller.currentStep();
    return step ? QStringLiteral("label id: [") + step->labelID + QLatin1Char(']') : QString();
}

QString HeaderViewModel::researchName() const
{
    return m_protocol.currentProtocol()->researchName();
}

QString HeaderViewModel::droneStatusText() const
{
    if (!usesDrone())
        return QStringLiteral("protocol doesn't use a drone");
    const QStringList peers = m_session.connectedPeerNames();
    if (peers.isEmpty())
        return QStringLiteral("Connection lost");
    return QStringLiteral("Connected to : ") + peers.first();
}

QString HeaderViewModel::droneStatusColor() const
{
    if (!usesDrone())
        return QString();
    return m_session.connectedPeerNames().isEmpty() ? QStringLiteral("red") : QStringLiteral("green");
}

double HeaderViewModel::opacity() const
{
    return m_controller.running() ? 1.0 : 0.4;
}
