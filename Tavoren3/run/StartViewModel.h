#pragma once

#include "run/InterruptedRun.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

class ContentViewModel;
class MultipeerSession;
class ProtocolLibrary;
class Run;
class VerkeersLeiding;

// The start screen: the protocol list, the participant id, the drone and the
// checks that must pass before a run starts.
class StartViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString PPID READ PPID WRITE setPPID NOTIFY PPIDChanged)
    Q_PROPERTY(QStringList configFiles READ configFiles NOTIFY configFilesChanged)
    Q_PROPERTY(QString selectedFileName READ selectedFileName WRITE setSelectedFileName NOTIFY selectionChanged)
    Q_PROPERTY(bool runsEditModeActive READ runsEditModeActive WRITE setRunsEditModeActive NOTIFY runsEditModeActiveChanged)
    Q_PROPERTY(bool selectedRunUsesDrone READ selectedRunUsesDrone NOTIFY selectionChanged)
    Q_PROPERTY(QString settingsFromFileText READ settingsFromFileText NOTIFY selectionChanged)
    Q_PROPERTY(QString descriptionText READ descriptionText NOTIFY selectionChanged)
    Q_PROPERTY(QString droneInfoText READ droneInfoText NOTIFY droneChanged)
    Q_PROPERTY(bool showsDroneButton READ selectedRunUsesDrone NOTIFY selectionChanged)
    Q_PROPERTY(QString droneButtonText READ droneButtonText NOTIFY droneChanged)
    Q_PROPERTY(QString deviceName READ deviceName CONSTANT)
    Q_PROPERTY(bool showPeerBrowser READ showPeerBrowser NOTIFY alertChanged)
    Q_PROPERTY(QString protocolToDelete READ protocolToDelete NOTIFY alertChanged)
    Q_PROPERTY(Alert alert READ alert NOTIFY alertChanged)
    Q_PROPERTY(QString alertTitle READ alertTitle NOTIFY alertChanged)
    Q_PROPERTY(QString alertMessage READ alertMessage NOTIFY alertChanged)
    Q_PROPERTY(QStringList alertButtons READ alertButtons NOTIFY alertChanged)
    // The button Escape answers, and the buttons drawn as destructive.
    Q_PROPERTY(QString alertCancelButton READ alertCancelButton NOTIFY alertChanged)
    Q_PROPERTY(QStringList alertDestructiveButtons READ alertDestructiveButtons NOTIFY alertChanged)

public:
    // The start screen's alerts; at most one shows at a time.
    enum class Alert {
        None,
        NoFileSelected,
        NoPPID,
        PPIDNotNumeric,
        RunLoadError,
        DroneRequired,
        DeleteConfirmation,
        SameParticipant,
        StartCaution,
        InterruptedRun,
        ChangedProtocol
    };
    Q_ENUM(Alert)

    StartViewModel(ContentViewModel &content, ProtocolLibrary &library, VerkeersLeiding &controller,
                   MultipeerSession &session, QObject *parent = nullptr);

    QString PPID() const { return m_ppid; }
    void setPPID(const QString &ppid);
    QStringList configFiles() const;
    QString selectedFileName() const;
    void setSelectedFileName(const QString &fileName);
    bool runsEditModeActive() const { return m_editMode; }
    void setRunsEditModeActive(bool active);
    bool selectedRunUsesDrone() const { return m_selectedRunUsesDrone; }
    QString settingsFromFileText() const;
    QString descriptionText() const { return m_descriptionText; }
    QString droneInfoText() const;
    QString droneButtonText() const;
    static QString deviceName();
    bool showPeerBrowser() const { return m_showPeerBrowser; }
    QString protocolToDelete() const { return m_protocolToDelete; }

    Alert alert() const { return m_alert; }
    bool isShowing(Alert alert) const { return m_alert == alert; }
    QString alertTitle() const;
    QString alertMessage() const;
    // "OK", or "Cancel" and "Delete" for the delete question, "Cancel" and
    // "Start" for the question about the same participant, "Resume" and
    // "Close it" (or "Close it" alone) for an interrupted run, "Cancel" and
    // "Resume" when its protocol changed.
    QStringList alertButtons() const;
    QString alertCancelButton() const;
    QStringList alertDestructiveButtons() const;
    Q_INVOKABLE void dismissAlert();
    Q_INVOKABLE void chooseAlertButton(const QString &button);

    Q_INVOKABLE void appeared();
    // A tap on a protocol: selects it, or in edit mode opens it in the editor.
    Q_INVOKABLE void tapProtocol(const QString &fileName);
    Q_INVOKABLE void duplicateProtocol(const QString &fileName);
    Q_INVOKABLE void requestDelete(const QString &fileName);
    Q_INVOKABLE void confirmDelete();
    Q_INVOKABLE void newProtocol();
    // "Find drone" / "Change drone".
    Q_INVOKABLE void chooseDrone();
    Q_INVOKABLE void peerBrowserDismissed();
    // The start action; returns whether the run screen was entered.
    Q_INVOKABLE bool start();
    // A check of the protocol about to run that the operator may start
    // past: what it has to say, or nothing.
    void addStartCaution(std::function<QString(const Run &)> caution);
    // Offers the interrupted run this documents folder has, if any.
    void offerInterruptedRun();

signals:
    void PPIDChanged();
    void configFilesChanged();
    void selectionChanged();
    void runsEditModeActiveChanged();
    void droneChanged();
    void alertChanged();

private:
    struct Recorded
    {
        QString ppid;
        QDateTime startedAt;
    };

    void show(Alert alert);
    // The start action after its checks: the run screen and the run.
    void enterRun(const QString &ppid);
    // The start action after the cautions.
    bool startPastCautions(const QString &ppid);
    void selectionDidChange();
    void stopDiscovery();
    // Resume: the run's protocol, participant and label file, and the step where it was.
    void resumeInterruptedRun();

    ContentViewModel &m_content;
    ProtocolLibrary &m_library;
    VerkeersLeiding &m_controller;
    MultipeerSession &m_session;
    QString m_ppid;
    bool m_editMode = false;
    bool m_selectedRunUsesDrone = false;
    QString m_descriptionText;
    bool m_showPeerBrowser = false;
    QString m_protocolToDelete;
    Alert m_alert = Alert::None;
    // The run started last, and the last one that was completed.
    std::optional<Recorded> m_started;
    std::optional<Recorded> m_completed;
    QList<std::function<QString(const Run &)>> m_cautions;
    QStringList m_cautionTexts;
    std::optional<::InterruptedRun> m_interrupted;
};
