#pragma once

#include "drone/DroneStateView.h"
#include "run/RemainingTimeJumps.h"

// The drone's countdown. Sent when the view appears (it is built afresh for
// every step) and when the time left jumps by two seconds or more to at
// least 1; the ordinary countdown sends nothing (the drone counts by itself).
class TimerView : public DroneStateView
{
    Q_OBJECT

public:
    TimerView(VerkeersLeiding &manager, MultipeerSession &session, QObject *parent = nullptr);

    // One less than the seconds left on the timekeeper's clock.
    qint64 timerValue() const;

protected:
    QString viewName() const override { return QStringLiteral("TimerView"); }
    QString state() const override;

private:
    RemainingTimeJumps m_jumps;
};
