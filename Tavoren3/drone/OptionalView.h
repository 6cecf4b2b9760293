#pragma once

#include "drone/SingleOptionalView.h"

#include <QList>
#include <QObject>
#include <QQmlListProperty>
#include <QtQml/qqmlregistration.h>

class HapticFeedback;
class MultipeerSession;
class VerkeersLeiding;

// The current step's optional views. On every step change they are built
// afresh, so each new view sends its own state; a step without optional
// views turns the drone black.
class OptionalView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(OptionalViewModel)
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QQmlListProperty<SingleOptionalView> entries READ entries NOTIFY entriesChanged)

public:
    OptionalView(VerkeersLeiding &manager, MultipeerSession &session, HapticFeedback &haptics,
                 QObject *parent = nullptr);
    ~OptionalView() override;

    QQmlListProperty<SingleOptionalView> entries();
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
