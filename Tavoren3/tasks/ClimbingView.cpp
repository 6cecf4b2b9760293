#include "tasks/ClimbingView.h"

#include "common/Console.h"
#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

ClimbingView::ClimbingView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_jumps(manager)
{
    connect(&m_timer, &TaskTimer::timeout, this, &ClimbingView::countdownTick);
    connect(&m_jumps, &RemainingTimeJumps::jumped, this, &ClimbingView::sendClimbingState);
}

QString ClimbingView::fallButtonText() const
{
    return m_fellButtonDisabled ? QStringLiteral("You can restart in %1s").arg(m_countdownTime)
                                : QStringLiteral("Participant Fell");
}

void ClimbingView::appeared()
{
    sendClimbingState();
}

void ClimbingView::disappeared()
{
    m_timer.stop();
}

void ClimbingView::sendClimbingState()
{
    if (m_manager.pause()) {
        Console::line(QStringLiteral("ClimbingView: App is paused, not sending state"));
        return;
    }
    qint64 seconds = 0;
    if (const auto step = m_manager.currentStep())
        seconds = step->duration;
    if (m_manager.remainingTime() > 0)
        seconds = m_manager.remainingTime();
    Console::line(QStringLiteral("ClimbingView sending duration: ") + QString::number(seconds));
    m_session.sendState(QStringLiteral("climbing: ") + QString::number(seconds));
}

void ClimbingView::attemptStart()
{
    m_manager.log(LogTime::logTimestamp() + QStringLiteral("\tAttempt start"));
}

void ClimbingView::successfulAttempt()
{
    m_manager.log(LogTime::logTimestamp() + QStringLiteral("\tSuccessful attempt"));
}

void ClimbingView::participantFell()
{
    if (m_fellButtonDisabled)
        return;
    m_manager.log(LogTime::logTimestamp() + QStringLiteral("\tParticipant fell"));
    m_session.sendState(QStringLiteral("fall"));
    m_fellButtonDisabled = true;
    m_countdownTime = recoverySeconds;
    m_timer.start();
    emit changed();
}

void ClimbingView::countdownTick()
{
    if (m_countdownTime < 1) {
        m_fellButtonDisabled = false;
        m_timer.stop();
        m_countdownTime = recoverySeconds;
    } else {
        --m_countdownTime;
    }
    emit changed();
}
