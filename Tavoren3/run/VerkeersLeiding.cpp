#include "run/VerkeersLeiding.h"

#include "bridge/EspBleCentral.h"
#include "common/Clock.h"
#include "common/Console.h"
#include "drone/MultipeerSession.h"
#include "run/DroneStateText.h"
#include "run/LogTime.h"

#include <QScopeGuard>

namespace {
constexpr int stepEndingSound = 1000;
}

VerkeersLeiding::VerkeersLeiding(MultipeerSession &session, CurrentProtocol &protocol, SoundPlayer &sound,
                                 QObject *parent)
    : QObject(parent), m_session(session), m_protocol(protocol), m_sound(sound)
{
    m_bleManager = new EspBleCentral(BleBackend::createForProcess(), this);
    m_current = new Step(QStringLiteral("0"), QStringLiteral("0"), QString(), this);
    connect(&m_labelLog, &LabelLog::LabelLogStringChanged, this, &VerkeersLeiding::LabelLogStringChanged);
    connect(&m_labelLog, &LabelLog::writeFailed, this, &VerkeersLeiding::labelWriteFailed);
}

template <class T>
void VerkeersLeiding::set(T &field, const T &value, void (VerkeersLeiding::*signal)())
{
    if (field == value)
        return;
    const bool wasUp = stepTimeIsUp();
    const QString baseName = labelFileBaseName();
    field = value;
    emit (this->*signal)();
    if (wasUp != stepTimeIsUp())
        emit stepTimeIsUpChanged();
    if (baseName != labelFileBaseName())
        emit labelFileBaseNameChanged();
}

void VerkeersLeiding::setShouldReturnToHome(bool value) { set(m_shouldReturnToHome, value, &VerkeersLeiding::shouldReturnToHomeChanged); }
void VerkeersLeiding::setIsCompleted(bool completed) { set(m_isCompleted, completed, &VerkeersLeiding::isCompletedChanged); }
void VerkeersLeiding::setNr(int nr) { set(m_nr, nr, &VerkeersLeiding::nrChanged); }
void VerkeersLeiding::setDoneBlocked(bool blocked) { set(m_doneBlocked, blocked, &VerkeersLeiding::DoneBlockedChanged); }
void VerkeersLeiding::setPPID(const QString &ppid) { set(m_ppid, ppid, &VerkeersLeiding::PPIDChanged); }
void VerkeersLeiding::setRunTimestamp(const QString &timestamp) { set(m_runTimestamp, timestamp, &VerkeersLeiding::runTimestampChanged); }
void VerkeersLeiding::setCompletedLogFileName(const QString &name) { set(m_completedLogFileName, name, &VerkeersLeiding::completedLogFileNameChanged); }
void VerkeersLeiding::setRunning(bool running) { set(m_running, running, &VerkeersLeiding::runningChanged); }
void VerkeersLeiding::setPause(bool pause) { set(m_pause, pause, &VerkeersLeiding::pauseChanged); }
void VerkeersLeiding::setShowLog(bool show) { set(m_showLog, show, &VerkeersLeiding::showLogChanged); }
void VerkeersLeiding::setRemainingTime(qint64 seconds) { set(m_remainingTime, seconds, &VerkeersLeiding::remainingTimeChanged); }
void VerkeersLeiding::setTimeTotal(qint64 seconds) { set(m_timeTotal, seconds, &VerkeersLeiding::timeTotalChanged); }
void VerkeersLeiding::setNote(const QString &note) { set(m_note, note, &VerkeersLeiding::noteChanged); }
void VerkeersLeiding::setJustResumed(bool resumed) { set(m_justResumed, resumed, &VerkeersLeiding::justResumedChanged); }
void VerkeersLeiding::setSliderValueReceivedAndDisplayed(bool received) { set(m_sliderValueReceived, received, &VerkeersLeiding::sliderValueReceivedAndDisplayedChanged); }
void VerkeersLeiding::setShowSliderAdvanceAlert(bool show) { set(m_showSliderAdvanceAlert, show, &VerkeersLeiding::showSliderAdvanceAlertChanged); }

void VerkeersLeiding::setCurrent(Step *step)
{
    Step *old = m_current;
    m_current = step;
    emit currentChanged();
    old->deleteLater();
}

QString VerkeersLeiding::remainingTimeText() const
{
    return LogTime::minutesAndSeconds(m_remainingTime);
}

bool VerkeersLeiding::stepTimeIsUp() const
{
    return m_remainingTime < 1 && !m_pause && m_running;
}

int VerkeersLeiding::stepCount() const
{
    return m_protocol.currentProtocol()->stepCount();
}

bool VerkeersLeiding::hasCurrentStep() const
{
    return m_nr >= 0 && m_nr < stepCount();
}

std::optional<DeelTestje> VerkeersLeiding::currentStep() const
{
    return m_protocol.currentProtocol()->step(m_nr);
}

QString VerkeersLeiding::labelFileBaseName() const
{
    return m_protocol.currentProtocol()->researchName() + QLatin1Char('_') + m_ppid + QStringLiteral("_1_")
        + m_runTimestamp;
}

bool VerkeersLeiding::currentStepUsesSlider() const
{
    const auto step = currentStep();
    return step && step->hasView(QStringLiteral("Slider (drone side)"));
}

int VerkeersLeiding::clampedIndex(qint64 index) const
{
    const int count = stepCount();
    if (count == 0)
        return 0;
    return int(std::clamp<qint64>(index, 0, count - 1));
}

qint64 VerkeersLeiding::durationAt(qint64 index) const
{
    const auto step = m_protocol.currentProtocol()->step(index);
    return step ? step->duration : 0;
}

void VerkeersLeiding::markBoundary(Boundary kind, int stepIndex)
{
    m_boundaryTime = m_tickTime.value_or(Clock::current().now());
    emit boundary(kind, stepIndex, m_boundaryTime);
}

QString VerkeersLeiding::boundaryTimestamp() const
{
    return LogTime::logTimestamp(m_tickTime.value_or(m_boundaryTime.isValid() ? m_boundaryTime : Clock::current().now()));
}

void VerkeersLeiding::send(const QString &payload)
{
    m_session.sendState(payload);
}

bool VerkeersLeiding::appendLogLine(const QString &fileBaseName, const QString &line, const QString &folderText)
{
    return m_labelLog.appendLogLine(fileBaseName, line, folderText);
}

bool VerkeersLeiding::log(const QString &line)
{
    return appendLogLine(labelFileBaseName(), line, m_protocol.currentProtocolName());
}

void VerkeersLeiding::labelWriteFailed(const QString &path, const QString &reason)
{
    ++m_unwrittenLines;
    m_lastWriteFailure = path + QStringLiteral(": ") + reason;
    emit labelWriteFailureChanged();
}

QString VerkeersLeiding::labelWriteFailure() const
{
    if (m_unwrittenLines == 0)
        return QString();
    const QString what = m_unwrittenLines == 1 ? QStringLiteral("A label line could not be written to ")
                                               : QStringLiteral("%1 label lines could not be written, the last to ")
                                                     .arg(m_unwrittenLines);
    return what + m_lastWriteFailure
        + QStringLiteral(". The run goes on, and the label log on this screen keeps every line.");
}

void VerkeersLeiding::acknowledgeLabelWriteFailure()
{
    if (m_unwrittenLines == 0)
        return;
    m_unwrittenLines = 0;
    emit labelWriteFailureChanged();
}

void VerkeersLeiding::clearBridgeLink()
{
    m_bleManager->clearConnectedPeripheral();
    m_bleManager->setIsConnected(false);
    m_bleManager->setSelectedDeviceName(QString());
}

void VerkeersLeiding::startRun()
{
    m_labelLog.clear();
    m_protocol.setCurrentProtocolName(m_protocol.currentProtocol()->researchName());
    if (m_runTimestamp.isEmpty())
        setRunTimestamp(LogTime::runTimestamp());
    log(QStringLiteral("# StartTime\tLabel"));
    log(LogTime::logTimestamp() + QStringLiteral("\tStart"));
    markBoundary(Boundary::StepStart, clampedIndex(0));
    setNr(clampedIndex(0));
    setRunning(true);
    setPause(false);
    setRemainingTime(durationAt(0));
    beginCurrentStep();
    clearBridgeLink();
}

void VerkeersLeiding::beginCurrentStep()
{
    const auto step = currentStep();
    setDoneBlocked(step && step->duration != 0);
    setSliderValueReceivedAndDisplayed(false);
    setCurrent(step ? new Step(boundaryTimestamp(), QString::number(step->numID), step->labelID, this)
                    : new Step(boundaryTimestamp(), QStringLiteral("0"), QString(), this));
    if (!m_tickTime)
        emit stepBeganBetweenTicks();
}

void VerkeersLeiding::logStepEvent(const QString &first, const QString &second)
{
    const QString tag = m_current->testLabel() + QStringLiteral(" (") + m_current->testID() + QStringLiteral(") ");
    if (second != QLatin1String("cancelled, restarting..."))
        log(m_current->Starttijd() + QLatin1Char('\t') + tag + first);
    log(boundaryTimestamp() + QLatin1Char('\t') + tag + second + QLatin1Char(' '));
    if (m_justResumed)
        setJustResumed(false);
}

void VerkeersLeiding::tick()
{
    // Read before any slow work (screens, sound, files, drone): the step
    // boundaries this tick causes are stamped with it.
    m_tickTime = Clock::current().now();
    const auto endOfTick = qScopeGuard([this] { m_tickTime.reset(); });
    if (!m_running) {
        setTimeTotal(0);
        return;
    }
    if (m_pause)
        return;
    setTimeTotal(m_timeTotal + 1);
    setRemainingTime(m_remainingTime - 1);
    const auto step = currentStep();
    const bool timed = step && step->duration != 0;
    // After the boundary this tick may cause: the sound output is slow to reach.
    const auto endingSound = qScopeGuard([this, play = m_remainingTime < 2 && timed] {
        if (play)
            m_sound.playSystemSound(stepEndingSound);
    });
    if (m_remainingTime > 0 || !timed)
        return;
    if (!currentStepUsesSlider() || m_sliderValueReceived) {
        advance(false);
        return;
    }
    m_pendingAdvancePhaseSkipped = false;
    togglePause();
    setShowSliderAdvanceAlert(true);
    setPause(true);
}

void VerkeersLeiding::togglePause()
{
    if (m_pause) {
        markBoundary(Boundary::Resume, m_nr);
        setPause(false);
        send(QStringLiteral("resume"));
        sendCurrentStepState();
        const QString previousID = m_current->testID();
        const bool rated = m_sliderValueReceived;
        beginCurrentStep();
        if (m_current->testID() != previousID) {
            Console::line(QStringLiteral("NOT THE SAME"));
            setRemainingTime(durationAt(m_nr));
        } else {
            // The rating given before the pause still stands for this step.
            setSliderValueReceivedAndDisplayed(rated);
        }
        log(m_current->Starttijd() + QStringLiteral("\tresearch resumed in ") + m_current->testLabel()
            + QStringLiteral(" (") + m_current->testID() + QLatin1Char(')'));
        setJustResumed(true);
    } else {
        markBoundary(Boundary::Pause, m_nr);
        setPause(true);
        send(QStringLiteral("pause"));
        logStepEvent(QStringLiteral("started"), QStringLiteral("paused"));
    }
}

void VerkeersLeiding::requestAdvance(bool skipLog)
{
    if (currentStepUsesSlider() && !m_sliderValueReceived && !skipLog) {
        m_pendingAdvancePhaseSkipped = false;
        togglePause();
        setShowSliderAdvanceAlert(true);
        return;
    }
    advance(skipLog);
}

void VerkeersLeiding::confirmSliderAdvance()
{
    const bool skip = m_pendingAdvancePhaseSkipped.value_or(false);
    m_pendingAdvancePhaseSkipped.reset();
    setShowSliderAdvanceAlert(false);
    advance(skip);
}

void VerkeersLeiding::cancelSliderAdvance()
{
    m_pendingAdvancePhaseSkipped.reset();
    setShowSliderAdvanceAlert(false);
}

void VerkeersLeiding::advance(bool skipLog)
{
    if (m_nr >= stepCount() - 1) {
        markBoundary(Boundary::Completion, m_nr);
        if (!skipLog)
            logStepEvent(QStringLiteral("started"), QStringLiteral("ended"));
        send(QStringLiteral("done"));
        setCompletedLogFileName(labelFileBaseName());
        setRunning(false);
        setPause(true);
        setIsCompleted(true);
        setPPID(QString());
        setRunTimestamp(QString());
        setRemainingTime(0);
        setTimeTotal(0);
        return;
    }
    markBoundary(Boundary::StepStart, clampedIndex(qint64(m_nr) + 1));
    setNr(clampedIndex(qint64(m_nr) + 1));
    if (!skipLog)
        logStepEvent(QStringLiteral("started"), QStringLiteral("ended"));
    setRemainingTime(durationAt(m_nr));
    beginCurrentStep();
}

void VerkeersLeiding::previousStep()
{
    if (m_nr <= 0)
        return;
    markBoundary(Boundary::StepStart, m_nr - 1);
    setNr(clampedIndex(qint64(m_nr) - 1));
    setRemainingTime(durationAt(m_nr));
    beginCurrentStep();
}

void VerkeersLeiding::restartCurrentStep()
{
    markBoundary(Boundary::Restart, m_nr);
    logStepEvent(QStringLiteral("started"), QStringLiteral("cancelled, restarting..."));
    const qint64 duration = durationAt(m_nr);
    if (m_remainingTime != duration)
        setRemainingTime(duration);
    beginCurrentStep();
}

void VerkeersLeiding::stopRun()
{
    if (!m_running && !m_isCompleted)
        return;
    if (!m_isCompleted) {
        markBoundary(Boundary::Stop, m_nr);
        logStepEvent(QStringLiteral("started"), QStringLiteral("stopped"));
    }
    send(QStringLiteral("done"));
    setRunning(false);
    setPause(true);
    send(QStringLiteral("resume"));
    setIsCompleted(false);
    setPPID(QString());
    setRunTimestamp(QString());
    setRemainingTime(0);
    setTimeTotal(0);
    setShouldReturnToHome(true);
    clearBridgeLink();
}

void VerkeersLeiding::resumeInterruptedRun(const RunRecord &record, const QString &labelFileText)
{
    m_labelLog.restore(labelFileText);
    // The label file keeps its name even when the protocol was renamed since.
    m_protocol.currentProtocol()->setResearchName(record.folderText);
    m_protocol.setCurrentProtocolName(record.folderText);
    setPPID(record.ppid);
    setRunTimestamp(record.runTimestamp);
    setNr(clampedIndex(record.step));
    setPause(true);
    setRunning(true);
    setIsCompleted(false);
    setRemainingTime(record.secondsLeft);
    setCurrent(new Step(record.stepBegan, record.stepId, record.stepLabel, this));
    for (const QString &line : record.gapLines())
        log(line);
    togglePause();
}

void VerkeersLeiding::sendCurrentStepState()
{
    if (m_pause) {
        send(QStringLiteral("pause"));
        return;
    }
    send(DroneStateText::forStep(currentStep(), m_remainingTime));
}
