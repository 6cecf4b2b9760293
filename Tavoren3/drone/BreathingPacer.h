#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

// The breathing pacer: breathe in, hold, breathe out, hold, round and round,
// each phase as long as its number of seconds; phases of 0 seconds are left out.
class BreathingPacer : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by DroneScreen.")
    Q_PROPERTY(QString phaseText READ phaseText NOTIFY phaseChanged)
    Q_PROPERTY(int phaseMs READ phaseMs NOTIFY phaseChanged)
    Q_PROPERTY(bool expanded READ expanded NOTIFY phaseChanged)

public:
    enum class Phase { breatheIn, holdIn, breatheOut, holdOut };
    struct Step
    {
        Phase phase;
        int ms;
        bool operator==(const Step &) const = default;
    };

    explicit BreathingPacer(QObject *parent = nullptr);

    // The phases that take time, in order, from the four numbers.
    static QList<Step> steps(const QList<double> &seconds);

    Phase phase() const { return m_steps.isEmpty() ? Phase::holdOut : m_steps[m_current].phase; }
    QString phaseText() const;
    // How long the current phase lasts.
    int phaseMs() const { return m_steps.isEmpty() ? 0 : m_steps[m_current].ms; }
    // The lungs are full: from the end of breathing in to the start of breathing out.
    bool expanded() const { return phase() == Phase::breatheIn || phase() == Phase::holdIn; }

    void start(const QList<double> &seconds);
    void stop();
    // Holds the current phase; thaw goes on with what was left of it.
    void freeze();
    void thaw();
    // The next phase begins.
    void advance();

signals:
    void phaseChanged();

private:
    QList<Step> m_steps;
    qsizetype m_current = 0;
    int m_leftMs = 0;
    QTimer m_timer;
};
