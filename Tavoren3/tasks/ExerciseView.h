#pragma once

#include "common/TaskTimer.h"
#include "tasks/ExerciseSequence.h"
#include "tasks/HapticFeedback.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class VerkeersLeiding;

// A list of timed exercises run one after the other: each is counted down
// second by second, shown on the drone, and its start and end go into the
// label file. One second passes between two exercises.
class ExerciseView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(ExerciseViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(bool loaded READ loaded NOTIFY changed)
    Q_PROPERTY(bool finished READ finished NOTIFY changed)
    Q_PROPERTY(QString exerciseName READ exerciseName NOTIFY changed)
    Q_PROPERTY(QString remainingText READ remainingText NOTIFY changed)
    Q_PROPERTY(bool remainingIsShort READ remainingIsShort NOTIFY changed)
    Q_PROPERTY(QString totalText READ totalText NOTIFY changed)

public:
    ExerciseView(VerkeersLeiding &manager, MultipeerSession &session, HapticFeedback &haptics, QString file,
                 QObject *parent = nullptr);

    bool loaded() const { return !m_exercises.isEmpty(); }
    bool isActive() const { return m_isActive; }
    bool finished() const { return loaded() && !current(); }
    QString exerciseName() const;
    qint64 remainingTime() const { return m_remainingTime; }
    QString remainingText() const;
    // Five seconds or less: drawn in red.
    bool remainingIsShort() const { return m_remainingTime <= 5; }
    qint64 totalElapsedTime() const { return m_totalElapsedTime; }
    QString totalText() const;

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();
    // One second of the countdown.
    void tick();
    // Starts the exercise at the current index (also at the end of the gap).
    void startExercise();

signals:
    void changed();

private:
    void load();
    const ExerciseSequence::Exercise *current() const;
    void log(const QString &text);
    void send(const QString &state);
    // "exercise: NAME - Ns", the seconds left.
    void sendCountdown(const ExerciseSequence::Exercise &exercise);

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    HapticFeedback &m_haptics;
    QString m_file;
    QList<ExerciseSequence::Exercise> m_exercises;
    int m_currentExerciseIndex = 0;
    qint64 m_remainingTime = 0;
    bool m_isActive = false;
    qint64 m_totalElapsedTime = 0;
    TaskTimer m_timer{1000};
    TaskTimer m_gap{1000, true};
};
