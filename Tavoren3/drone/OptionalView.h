#pragma once

#include "drone/SingleOptionalView.h"

#include <QList>
#include <QObject>

class HapticFeedback;
class MultipeerSession;
class VerkeersLeiding;

// The current step's optional views. On every step change they are built
// afresh, so each new view sends its own state; a step without optional
// views turns the drone black.
class OptionalView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<QObject *> entries READ entries NOTIFY entriesChanged)

public:
    OptionalView(VerkeersLeiding &manager, MultipeerSession &session, HapticFeedback &haptics,
                 QObject *parent = nullptr);
    ~OptionalView() override;

    QList<QObject *> entries() const;
    const QList<SingleOptionalView *> &views() const { return m_views; }

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();

signals:
    void entriesChanged();

private:
    void build();
    void clear();
    void phaseChanged();

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    HapticFeedback &m_haptics;
    QList<SingleOptionalView *> m_views;
    // The step the views were built for.
    int m_phase;
    // The step changed and its views are gone; the new ones are yet to come.
    bool m_retired = false;
    bool m_shown = false;
};
