#pragma once

#include "model/CurrentProtocol.h"
#include "run/LabelLog.h"
#include "run/RunRecord.h"
#include "run/SoundPlayer.h"
#include "run/Step.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class EspBleCentral;
class MultipeerSession;

// The run controller: the position in the running protocol, the step timer,
// the pause state and the label log of the run.
class VerkeersLeiding : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(EspBleCentral *bleManager READ bleManager CONSTANT)
    Q_PROPERTY(MultipeerSession *VESK_Session READ VESK_Session CONSTANT)
    Q_PROPERTY(bool shouldReturnToHome READ shouldReturnToHome WRITE setShouldReturnToHome NOTIFY shouldReturnToHomeChanged)
    Q_PROPERTY(bool isCompleted READ isCompleted NOTIFY isCompletedChanged)
    Q_PROPERTY(Step *current READ current NOTIFY currentChanged)
    Q_PROPERTY(int nr READ nr NOTIFY nrChanged)
    Q_PROPERTY(bool DoneBlocked READ DoneBlocked NOTIFY DoneBlockedChanged)
    Q_PROPERTY(QString PPID READ PPID WRITE setPPID NOTIFY PPIDChanged)
    Q_PROPERTY(QString runTimestamp READ runTimestamp WRITE setRunTimestamp NOTIFY runTimestampChanged)
    Q_PROPERTY(QString completedLogFileName READ completedLogFileName NOTIFY completedLogFileNameChanged)
    Q_PROPERTY(bool running READ running NOTIFY runningChanged)
    Q_PROPERTY(bool pause READ pause NOTIFY pauseChanged)
    Q_PROPERTY(bool showLog READ showLog WRITE setShowLog NOTIFY showLogChanged)
    Q_PROPERTY(qint64 remainingTime READ remainingTime WRITE setRemainingTime NOTIFY remainingTimeChanged)
    Q_PROPERTY(qint64 timeTotal READ timeTotal NOTIFY timeTotalChanged)
    Q_PROPERTY(QString LabelLogString READ LabelLogString NOTIFY LabelLogStringChanged)
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY noteChanged)
    Q_PROPERTY(bool justResumed READ justResumed NOTIFY justResumedChanged)
    Q_PROPERTY(bool sliderValueReceivedAndDisplayed READ sliderValueReceivedAndDisplayed WRITE
                   setSliderValueReceivedAndDisplayed NOTIFY sliderValueReceivedAndDisplayedChanged)
    Q_PROPERTY(bool showSliderAdvanceAlert READ showSliderAdvanceAlert WRITE setShowSliderAdvanceAlert NOTIFY
                   showSliderAdvanceAlertChanged)
    Q_PROPERTY(QString remainingTimeText READ remainingTimeText NOTIFY remainingTimeChanged)
    Q_PROPERTY(bool stepTimeIsUp READ stepTimeIsUp NOTIFY stepTimeIsUpChanged)
    Q_PROPERTY(bool hasCurrentStep READ hasCurrentStep NOTIFY nrChanged)
    Q_PROPERTY(QString labelFileBaseName READ labelFileBaseName NOTIFY labelFileBaseNameChanged)
    Q_PROPERTY(bool currentStepUsesSlider READ currentStepUsesSlider NOTIFY nrChanged)
    // Why label lines did not reach their file, until the operator has seen it; empty otherwise.
    Q_PROPERTY(QString labelWriteFailure READ labelWriteFailure NOTIFY labelWriteFailureChanged)
    Q_PROPERTY(QString labelWriteFailureTitle READ labelWriteFailureTitle CONSTANT)

public:
    // The moments a marker in the recording may mark.
    enum class Boundary { StepStart, Pause, Resume, Restart, Stop, Completion };
    Q_ENUM(Boundary)

    VerkeersLeiding(MultipeerSession &session, CurrentProtocol &protocol, SoundPlayer &sound,
                    QObject *parent = nullptr);

    EspBleCentral *bleManager() const { return m_bleManager; }
    MultipeerSession *VESK_Session() const { return &m_session; }
    CurrentProtocol &protocol() const { return m_protocol; }

    bool shouldReturnToHome() const { return m_shouldReturnToHome; }
    void setShouldReturnToHome(bool value);
    bool isCompleted() const { return m_isCompleted; }
    Step *current() const { return m_current; }
    int nr() const { return m_nr; }
    bool DoneBlocked() const { return m_doneBlocked; }
    QString PPID() const { return m_ppid; }
    void setPPID(const QString &ppid);
    QString runTimestamp() const { return m_runTimestamp; }
    void setRunTimestamp(const QString &timestamp);
    QString completedLogFileName() const { return m_completedLogFileName; }
    bool running() const { return m_running; }
    bool pause() const { return m_pause; }
    bool showLog() const { return m_showLog; }
    void setShowLog(bool show);
    qint64 remainingTime() const { return m_remainingTime; }
    void setRemainingTime(qint64 seconds);
    qint64 timeTotal() const { return m_timeTotal; }
    QString LabelLogString() const { return m_labelLog.LabelLogString(); }
    QString note() const { return m_note; }
    void setNote(const QString &note);
    bool justResumed() const { return m_justResumed; }
    bool sliderValueReceivedAndDisplayed() const { return m_sliderValueReceived; }
    void setSliderValueReceivedAndDisplayed(bool received);
    bool showSliderAdvanceAlert() const { return m_showSliderAdvanceAlert; }
    void setShowSliderAdvanceAlert(bool show);
    std::optional<bool> pendingAdvancePhaseSkipped() const { return m_pendingAdvancePhaseSkipped; }
    QString labelWriteFailure() const;
    QString labelWriteFailureTitle() const { return QStringLiteral("Label file not written"); }
    Q_INVOKABLE void acknowledgeLabelWriteFailure();

    QString remainingTimeText() const;
    bool stepTimeIsUp() const;
    bool hasCurrentStep() const;
    std::optional<DeelTestje> currentStep() const;
    QString labelFileBaseName() const;
    bool currentStepUsesSlider() const;
    int clampedIndex(qint64 index) const;
    int stepCount() const;

    Q_INVOKABLE void startRun();
    Q_INVOKABLE void beginCurrentStep();
    Q_INVOKABLE void logStepEvent(const QString &first, const QString &second);
    Q_INVOKABLE void tick();
    Q_INVOKABLE void togglePause();
    Q_INVOKABLE void requestAdvance(bool skipLog);
    Q_INVOKABLE void confirmSliderAdvance();
    Q_INVOKABLE void cancelSliderAdvance();
    Q_INVOKABLE void advance(bool skipLog);
    Q_INVOKABLE void previousStep();
    // Starts the current step again: only the event line is written, nothing is sent.
    Q_INVOKABLE void restartCurrentStep();
    Q_INVOKABLE void stopRun();
    // Takes up a run the timekeeper left without ending it, on the protocol
    // already loaded: the label log holds the file's lines so far, the gap is
    // written as a pause with its note, and the step resumes where it was.
    void resumeInterruptedRun(const RunRecord &record, const QString &labelFileText);
    Q_INVOKABLE void sendCurrentStepState();

    // The one way to add a line to the label log and its file.
    bool appendLogLine(const QString &fileBaseName, const QString &line, const QString &folderText);
    // appendLogLine with the run's label file and folder.
    Q_INVOKABLE bool log(const QString &line);

signals:
    void shouldReturnToHomeChanged();
    void isCompletedChanged();
    void currentChanged();
    void nrChanged();
    void DoneBlockedChanged();
    void PPIDChanged();
    void runTimestampChanged();
    void completedLogFileNameChanged();
    void runningChanged();
    void pauseChanged();
    void showLogChanged();
    void remainingTimeChanged();
    void timeTotalChanged();
    void LabelLogStringChanged();
    void noteChanged();
    void justResumedChanged();
    void sliderValueReceivedAndDisplayedChanged();
    void showSliderAdvanceAlertChanged();
    void stepTimeIsUpChanged();
    void labelFileBaseNameChanged();
    void labelWriteFailureChanged();
    // A step began (or resumed) at a moment that is not a tick: its first
    // second is counted from now.
    void stepBeganBetweenTicks();
    // A boundary of the step at stepIndex, emitted as its label time is
    // taken and before any slower work of the same moment; at is that time.
    void boundary(VerkeersLeiding::Boundary kind, int stepIndex, const QDateTime &at);

private:
    template <class T>
    void set(T &field, const T &value, void (VerkeersLeiding::*signal)());
    void setNr(int nr);
    void setRunning(bool running);
    void setPause(bool pause);
    void setIsCompleted(bool completed);
    void setTimeTotal(qint64 seconds);
    void setDoneBlocked(bool blocked);
    void setJustResumed(bool resumed);
    void setCompletedLogFileName(const QString &name);
    void setCurrent(Step *step);
    void clearBridgeLink();
    qint64 durationAt(qint64 index) const;
    // Takes the boundary's time: that of the tick being handled, else now.
    void markBoundary(Boundary kind, int stepIndex);
    // The time of the tick being handled, else of the last boundary.
    QString boundaryTimestamp() const;
    void send(const QString &payload);
    void labelWriteFailed(const QString &path, const QString &reason);

    MultipeerSession &m_session;
    CurrentProtocol &m_protocol;
    SoundPlayer &m_sound;
    EspBleCentral *m_bleManager = nullptr;
    LabelLog m_labelLog;

    bool m_shouldReturnToHome = false;
    bool m_isCompleted = false;
    Step *m_current = nullptr;
    int m_nr = 0;
    bool m_doneBlocked = false;
    QString m_ppid;
    QString m_runTimestamp;
    QString m_completedLogFileName;
    bool m_running = false;
    bool m_pause = true;
    bool m_showLog = false;
    qint64 m_remainingTime = 0;
    qint64 m_timeTotal = 0;
    QString m_note;
    bool m_justResumed = false;
    bool m_sliderValueReceived = false;
    bool m_showSliderAdvanceAlert = false;
    std::optional<bool> m_pendingAdvancePhaseSkipped;
    std::optional<QDateTime> m_tickTime;
    QDateTime m_boundaryTime;
    // Lines not written since the operator last acknowledged it, and the last failure.
    int m_unwrittenLines = 0;
    QString m_lastWriteFailure;
};
