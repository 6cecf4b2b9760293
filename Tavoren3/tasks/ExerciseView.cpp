#include "tasks/ExerciseView.h"

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

#include <QDir>
#include <QFile>

ExerciseView::ExerciseView(VerkeersLeiding &manager, MultipeerSession &session, HapticFeedback &haptics, QString file,
                           QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_haptics(haptics), m_file(std::move(file))
{
    connect(&m_timer, &TaskTimer::timeout, this, &ExerciseView::tick);
    connect(&m_gap, &TaskTimer::timeout, this, &ExerciseView::startExercise);
}

const ExerciseSequence::Exercise *ExerciseView::current() const
{
    if (m_currentExerciseIndex < 0 || m_currentExerciseIndex >= m_exercises.size())
        return nullptr;
    return &m_exercises.at(m_currentExerciseIndex);
}

QString ExerciseView::exerciseName() const
{
    const auto *exercise = current();
    return exercise ? exercise->name : QString();
}

QString ExerciseView::remainingText() const
{
    return LogTime::minutesAndSeconds(m_remainingTime);
}

QString ExerciseView::totalText() const
{
    return LogTime::minutesAndSeconds(m_totalElapsedTime);
}

void ExerciseView::log(const QString &text)
{
    m_manager.log(LogTime::logTimestamp() + text);
}

void ExerciseView::send(const QString &state)
{
    if (!m_manager.pause())
        m_session.sendState(state);
}

void ExerciseView::sendCountdown(const ExerciseSequence::Exercise &exercise)
{
    send(QStringLiteral("exercise: ") + exercise.name + QStringLiteral(" - ") + QString::number(m_remainingTime)
         + QLatin1Char('s'));
}

void ExerciseView::load()
{
    DecodingError error;
    QFile bundled(QStringLiteral(":/Exercises/") + QString(m_file).remove(QStringLiteral(".json")) + QStringLiteral(".json"));
    if (bundled.exists()) {
        const auto sequence = bundled.open(QIODevice::ReadOnly) ? ExerciseSequence::decode(bundled.readAll(), &error)
                                                                : std::nullopt;
        if (sequence) {
            m_exercises = sequence->exercises;
            Console::line(QStringLiteral("Successfully loaded %1 exercises from bundle").arg(m_exercises.size()));
            return;
        }
        Console::line(QStringLiteral("Error loading exercises from bundle: ")
                      + (bundled.isOpen() ? error.description() : bundled.errorString()));
    }
    QString reason = QStringLiteral("no documents folder");
    if (const auto documents = DocumentsFolder::path()) {
        QFile file(QDir(*documents).filePath(QStringLiteral("Exercises/") + m_file));
        if (m_file.contains(QLatin1String("..")))
            reason = QStringLiteral("not a file name inside Exercises");
        else if (!file.open(QIODevice::ReadOnly))
            reason = file.errorString();
        else if (const auto sequence = ExerciseSequence::decode(file.readAll(), &error)) {
            m_exercises = sequence->exercises;
            Console::line(QStringLiteral("Successfully loaded %1 exercises from Documents").arg(m_exercises.size()));
            return;
        } else
            reason = error.description();
    }
    Console::line(QStringLiteral("Error loading exercises from Documents: ") + reason);
    m_exercises.clear();
}

void ExerciseView::appeared()
{
    load();
    if (!m_exercises.isEmpty()) {
        m_currentExerciseIndex = 0;
        startExercise();
    }
    if (const auto *exercise = current())
        send(QStringLiteral("exercise: ") + exercise->name);
    emit changed();
}

void ExerciseView::disappeared()
{
    m_timer.stop();
    m_gap.stop();
}

void ExerciseView::startExercise()
{
    const auto *exercise = current();
    if (!exercise) {
        m_isActive = false;
        emit changed();
        return;
    }
    m_remainingTime = exercise->duration;
    m_isActive = true;
    log(QStringLiteral("\tExercise Started: ") + exercise->name + QStringLiteral(" (") + QString::number(exercise->duration)
        + QStringLiteral("s)"));
    sendCountdown(*exercise);
    m_timer.stop();
    m_timer.start();
    emit changed();
}

void ExerciseView::tick()
{
    if (m_remainingTime < 1) {
        if (const auto *exercise = current())
            log(QStringLiteral("\tExercise Completed: ") + exercise->name);
        ++m_currentExerciseIndex;
        m_timer.stop();
        if (current()) {
            m_gap.start();
        } else {
            m_isActive = false;
            log(QStringLiteral("\tAll Exercises Completed (Total: ") + QString::number(m_totalElapsedTime)
                + QStringLiteral("s)"));
            send(QStringLiteral("exercises completed"));
        }
    } else {
        --m_remainingTime;
        ++m_totalElapsedTime;
        if (const auto *exercise = current())
            sendCountdown(*exercise);
        if (m_remainingTime >= 1 && m_remainingTime <= 3)
            m_haptics.impactOccurred();
    }
    emit changed();
}
