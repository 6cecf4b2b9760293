#include "run/CurrentStepViewModel.h"

#include "common/ChangeForwarding.h"
#include "run/VerkeersLeiding.h"

CurrentStepViewModel::CurrentStepViewModel(VerkeersLeiding &controller, QObject *parent)
    : QObject(parent), m_controller(controller)
{
    forwardChanges(m_controller, *this);
}

QString CurrentStepViewModel::nameText() const
{
    const auto step = m_controller.currentStep();
    return step ? step->name : QString();
}

QString CurrentStepViewModel::numericIdText() const
{
    const auto step = m_controller.currentStep();
    return QStringLiteral("Numerical id:[") + (step ? QString::number(step->numID) : QString()) + QLatin1Char(']');
}

QString CurrentStepViewModel::descriptionText() const
{
    const auto step = m_controller.currentStep();
    return step ? step->description : QString();
}

QString CurrentStepViewModel::timerText() const
{
    return (m_controller.pause() ? QStringLiteral("PAUSED: ") : QString()) + m_controller.remainingTimeText();
}

QString CurrentStepViewModel::timerColor() const
{
    const bool red = m_controller.pause() || (m_controller.remainingTime() < 11 && !m_controller.stepTimeIsUp());
    return red ? QStringLiteral("red") : QStringLiteral("black");
}

QString CurrentStepViewModel::arrowIcon() const
{
    if (m_controller.pause())
        return QString();
    return m_controller.stepTimeIsUp() ? QStringLiteral("arrow.up") : QStringLiteral("arrow.down");
}

bool CurrentStepViewModel::stopped() const
{
    return m_controller.pause() || !m_controller.running();
}

bool CurrentStepViewModel::doneVisible() const
{
    return !m_controller.DoneBlocked();
}

bool CurrentStepViewModel::pauseVisible() const
{
    return m_controller.running();
}

QString CurrentStepViewModel::pauseText() const
{
    return m_controller.pause() ? QStringLiteral("CONTINUE") : QStringLiteral(" PAUSE ");
}

bool CurrentStepViewModel::backEnabled() const
{
    return stopped() && m_controller.nr() >= 1;
}

bool CurrentStepViewModel::skipEnabled() const
{
    return stopped() && m_controller.nr() + 1 < m_controller.stepCount();
}

bool CurrentStepViewModel::restartEnabled() const
{
    return stopped();
}

bool CurrentStepViewModel::sliderWarningShown() const
{
    return m_controller.showSliderAdvanceAlert();
}

void CurrentStepViewModel::done()
{
    m_controller.requestAdvance(m_controller.pause());
}

void CurrentStepViewModel::pauseOrContinue()
{
    m_controller.togglePause();
}

void CurrentStepViewModel::back()
{
    if (backEnabled())
        m_controller.previousStep();
}

void CurrentStepViewModel::skip()
{
    if (skipEnabled())
        m_controller.advance(true);
}

void CurrentStepViewModel::restart()
{
    if (restartEnabled() && m_controller.hasCurrentStep())
        m_controller.restartCurrentStep();
}

void CurrentStepViewModel::proceedAnyway()
{
    m_controller.confirmSliderAdvance();
}

void CurrentStepViewModel::wait()
{
    m_controller.cancelSliderAdvance();
}
