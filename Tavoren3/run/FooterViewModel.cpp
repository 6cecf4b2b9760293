#include "run/FooterViewModel.h"

#include "common/ChangeForwarding.h"
#include "run/VerkeersLeiding.h"

FooterViewModel::FooterViewModel(VerkeersLeiding &controller, QObject *parent)
    : QObject(parent), m_controller(controller)
{
    forwardChanges(m_controller, *this);
}

bool FooterViewModel::stopVisible() const
{
    return m_controller.running();
}

bool FooterViewModel::stopEnabled() const
{
    return m_controller.pause();
}

QString FooterViewModel::logButtonText() const
{
    return m_controller.showLog() ? QStringLiteral("Hide log") : QStringLiteral("Open log");
}

void FooterViewModel::stop()
{
    if (stopVisible() && stopEnabled())
        m_controller.stopRun();
}

void FooterViewModel::toggleLog()
{
    m_controller.setShowLog(!m_controller.showLog());
}
