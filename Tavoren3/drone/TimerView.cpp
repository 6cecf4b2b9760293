#include "drone/TimerView.h"

#include "common/Console.h"
#include "run/VerkeersLeiding.h"

TimerView::TimerView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent)
    : DroneStateView(manager, session, parent), m_jumps(manager)
{
    connect(&m_jumps, &RemainingTimeJumps::jumped, this, [this] { sendUnlessPaused(); });
}

qint64 TimerView::timerValue() const
{
    qint64 value = 0;
    if (const auto step = m_manager.currentStep())
        value = step->duration - 1;
    if (m_manager.remainingTime() >= 1)
        value = m_manager.remainingTime() - 1;
    return value;
}

QString TimerView::state() const
{
    const qint64 value = timerValue();
    if (value >= 1)
        return QStringLiteral("timer: ") + QString::number(value);
    Console::line(QStringLiteral("TimerView: non\u2011positive duration (%1), sending black instead of timer").arg(value));
    return QStringLiteral("black");
}
