#include "run/NextStepViewModel.h"

#include "common/ChangeForwarding.h"
#include "run/VerkeersLeiding.h"

NextStepViewModel::NextStepViewModel(VerkeersLeiding &controller, QObject *parent)
    : QObject(parent), m_controller(controller)
{
    forwardChanges(m_controller, *this);
}

std::optional<DeelTestje> NextStepViewModel::nextStep() const
{
    if (m_controller.nr() >= m_controller.stepCount() - 1)
        return std::nullopt;
    return m_controller.protocol().currentProtocol()->steps().value(m_controller.nr() + 1);
}

bool NextStepViewModel::hasNextStep() const
{
    return nextStep().has_value();
}

QString NextStepViewModel::nextIdText() const
{
    const auto step = nextStep();
    return step ? QStringLiteral("next step :[") + QString::number(step->numID) + QLatin1Char(']') : QString();
}

QString NextStepViewModel::nextName() const
{
    const auto step = nextStep();
    return step ? step->name : QStringLiteral("No more steps");
}

QString NextStepViewModel::nextDescription() const
{
    const auto step = nextStep();
    return step ? step->description : QString();
}
