#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class VerkeersLeiding;

// The arithmetic task: each problem is shown with its result to the
// timekeeper and sent to the drone; every score goes into the task's own
// label file "timelabelsPPID_" + participant id.
class MathCalculationsView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(MathCalculationsViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(QString currentCalculation READ currentCalculation NOTIFY changed)
    Q_PROPERTY(QString problemText READ problemText NOTIFY changed)
    Q_PROPERTY(bool droneConnected READ droneConnected NOTIFY changed)
    Q_PROPERTY(bool showsProblem READ showsProblem NOTIFY changed)

public:
    MathCalculationsView(VerkeersLeiding &manager, MultipeerSession &session, QString file, QObject *parent = nullptr);

    QString currentCalculation() const { return m_currentCalculation; }
    int teller() const { return m_teller; }
    // The problem followed by its result, as the timekeeper reads it.
    QString problemText() const;
    bool droneConnected() const;
    bool showsProblem() const { return droneConnected() && !m_currentCalculation.isEmpty(); }

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void nextCalculation();
    Q_INVOKABLE void scoreCorrect() { score(QStringLiteral(" Correct")); }
    Q_INVOKABLE void scoreWrong() { score(QStringLiteral(" Wrong")); }

signals:
    void changed();

private:
    void score(const QString &suffix);

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    QString m_file;
    QString m_currentCalculation;
    int m_teller = 0;
    bool m_wasPaused;
};
