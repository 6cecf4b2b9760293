#pragma once

#include "drone/DroneStateView.h"
#include "run/DroneStateText.h"

// A breathing pacer on the drone.
class BreathingView : public DroneStateView
{
    Q_OBJECT

public:
    BreathingView(VerkeersLeiding &manager, MultipeerSession &session, QString speed, QObject *parent = nullptr)
        : DroneStateView(manager, session, parent), m_speed(std::move(speed)) {}

protected:
    QString viewName() const override { return QStringLiteral("BreathingView"); }
    QString state() const override { return DroneStateText::breathing(m_speed); }

private:
    QString m_speed;
};
