#pragma once

#include "drone/DroneStateView.h"

// A text on the drone.
class TextView : public DroneStateView
{
    Q_OBJECT

public:
    TextView(VerkeersLeiding &manager, MultipeerSession &session, QString text, QObject *parent = nullptr)
        : DroneStateView(manager, session, parent), m_text(std::move(text)) {}

protected:
    QString viewName() const override { return QStringLiteral("TextView"); }
    QString state() const override { return QStringLiteral("text: ") + m_text; }

private:
    QString m_text;
};
