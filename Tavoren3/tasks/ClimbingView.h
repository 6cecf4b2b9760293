#pragma once

#include "common/TaskTimer.h"
#include "run/RemainingTimeJumps.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class VerkeersLeiding;

// The climbing task: attempts and falls are marked; the drone shows the
// step's time; a fall locks the fall button for a recovery countdown.
class ClimbingView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(ClimbingViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(bool fellButtonDisabled READ fellButtonDisabled NOTIFY changed)
    Q_PROPERTY(int countdownTime READ countdownTime NOTIFY changed)
    Q_PROPERTY(QString fallButtonText READ fallButtonText NOTIFY changed)

public:
    static constexpr int recoverySeconds = 50;

    ClimbingView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent = nullptr);

    bool fellButtonDisabled() const { return m_fellButtonDisabled; }
    int countdownTime() const { return m_countdownTime; }
    QString fallButtonText() const;

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();
    Q_INVOKABLE void attemptStart();
    Q_INVOKABLE void successfulAttempt();
    Q_INVOKABLE void participantFell();
    // One second of the recovery countdown.
    void countdownTick();
    bool countdownRunning() const { return m_timer.isActive(); }

signals:
    void changed();

private:
    void sendClimbingState();

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    RemainingTimeJumps m_jumps;
    bool m_fellButtonDisabled = false;
    int m_countdownTime = recoverySeconds;
    TaskTimer m_timer{1000};
};
