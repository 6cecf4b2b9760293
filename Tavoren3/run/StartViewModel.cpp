#include "run/StartViewModel.h"

#include "common/Clock.h"
#include "common/DeviceInfo.h"
#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "model/ProtocolLibrary.h"
#include "run/ContentViewModel.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

#include <QLocale>
#include <QRegularExpression>

StartViewModel::StartViewModel(ContentViewModel &content, ProtocolLibrary &library, VerkeersLeiding &controller,
                               MultipeerSession &session, QObject *parent)
    : QObject(parent), m_content(content), m_library(library), m_controller(controller), m_session(session)
{
    connect(&m_library, &ProtocolLibrary::configFilesChanged, this, &StartViewModel::configFilesChanged);
    connect(&m_library, &ProtocolLibrary::selectedFileNameChanged, this, &StartViewModel::selectionDidChange);
    connect(&m_session, &MultipeerSession::stateChanged, this, &StartViewModel::droneChanged);
    connect(&m_session, &MultipeerSession::connectedPeersChanged, this, &StartViewModel::droneChanged);
    connect(&m_controller, &VerkeersLeiding::isCompletedChanged, this, [this] {
        if (m_controller.isCompleted())
            m_completed = m_started;
    });
}

void StartViewModel::setPPID(const QString &ppid)
{
    if (m_ppid == ppid)
        return;
    m_ppid = ppid;
    emit PPIDChanged();
}

QStringList StartViewModel::configFiles() const
{
    return m_library.configFiles();
}

QString StartViewModel::selectedFileName() const
{
    return m_library.selectedFileName();
}

void StartViewModel::setSelectedFileName(const QString &fileName)
{
    m_library.setSelectedFileName(fileName);
}

void StartViewModel::setRunsEditModeActive(bool active)
{
    if (m_editMode == active)
        return;
    m_editMode = active;
    stopDiscovery();
    emit runsEditModeActiveChanged();
}

QString StartViewModel::settingsFromFileText() const
{
    const QString selected = selectedFileName();
    return QStringLiteral("Settings from file ") + (selected.isEmpty() ? QStringLiteral("no file selected") : selected);
}

QString StartViewModel::droneInfoText() const
{
    if (!m_selectedRunUsesDrone)
        return QStringLiteral("Protocol doesn't use a drone");
    const QStringList peers = m_session.connectedPeerNames();
    return QStringLiteral("Drone device name: ") + (peers.isEmpty() ? QStringLiteral("No device found") : peers.first());
}

QString StartViewModel::droneButtonText() const
{
    return m_session.state() == MultipeerSessionState::connected ? QStringLiteral("Change drone")
                                                                 : QStringLiteral("Find drone");
}

QString StartViewModel::deviceName()
{
    return DeviceInfo::userVisibleName();
}

QString StartViewModel::alertTitle() const
{
    switch (m_alert) {
    case Alert::None: break;
    case Alert::NoFileSelected: return QStringLiteral("No research selected");
    case Alert::NoPPID: return QStringLiteral("Participant ID missing");
    case Alert::PPIDNotNumeric: return QStringLiteral("Participant ID has non-numbers");
    case Alert::RunLoadError: return QStringLiteral("Could not load run file");
    case Alert::DroneRequired: return QStringLiteral("Drone required");
    case Alert::DeleteConfirmation: return QStringLiteral("Delete Protocol");
    case Alert::SameParticipant: return QStringLiteral("Same participant");
    case Alert::StartCaution: return QStringLiteral("Before the run");
    case Alert::InterruptedRun: return QStringLiteral("Interrupted run");
    case Alert::ChangedProtocol: return QStringLiteral("Protocol changed");
    }
    return QString();
}

QString StartViewModel::alertMessage() const
{
    switch (m_alert) {
    case Alert::None: break;
    case Alert::NoFileSelected: return QStringLiteral("Please select the research format in order to start.");
    case Alert::NoPPID: return QStringLiteral("Please enter the participant ID in order start.");
    case Alert::PPIDNotNumeric: return QStringLiteral("Participant ID must consist of numbers only.");
    case Alert::RunLoadError:
        return QStringLiteral("The research file you are trying to access either does not exist or has compromised "
                              "data. Please create a new one.");
    case Alert::DroneRequired:
        return QStringLiteral("Please connect to a  drone in order to run.\nMake sure that both devices are on the "
                              "same network, close by and turned on. If you decide not to use a drone, you can "
                              "indicate so in the settings.");
    case Alert::DeleteConfirmation:
        return QStringLiteral("Are you sure you want to delete '") + m_protocolToDelete
            + QStringLiteral("'? This action cannot be undone.");
    case Alert::StartCaution: return m_cautionTexts.join(QLatin1Char('\n'));
    case Alert::SameParticipant: {
        const QDateTime at = m_completed->startedAt;
        const QString when = at.date() == Clock::current().now().date()
            ? QLocale::c().toString(at, QStringLiteral("HH:mm")) + QStringLiteral(" today")
            : QLocale::c().toString(at, QStringLiteral("HH:mm 'on' d MMMM yyyy"));
        return QStringLiteral("A run for participant %1 was recorded at %2. Start another run for %1?")
            .arg(m_completed->ppid, when);
    }
    case Alert::InterruptedRun:
        return m_interrupted->offerText()
            + (m_interrupted->resumable() ? QString()
                                          : QStringLiteral("\nIt can only be closed: ") + m_interrupted->reason());
    case Alert::ChangedProtocol:
        return QStringLiteral("The protocol file %1 has changed since the run began. Resume the run with the file "
                              "as it is now?")
            .arg(m_interrupted->record().protocolFile);
    }
    return QString();
}

void StartViewModel::show(Alert alert)
{
    m_alert = alert;
    emit alertChanged();
}

void StartViewModel::dismissAlert()
{
    show(Alert::None);
}

QStringList StartViewModel::alertButtons() const
{
    if (m_alert == Alert::None)
        return {};
    if (m_alert == Alert::DeleteConfirmation)
        return {QStringLiteral("Cancel"), QStringLiteral("Delete")};
    if (m_alert == Alert::SameParticipant || m_alert == Alert::StartCaution)
        return {QStringLiteral("Cancel"), QStringLiteral("Start")};
    if (m_alert == Alert::InterruptedRun)
        return m_interrupted->resumable() ? QStringList{QStringLiteral("Resume"), QStringLiteral("Close it")}
                                          : QStringList{QStringLiteral("Close it")};
    if (m_alert == Alert::ChangedProtocol)
        return {QStringLiteral("Cancel"), QStringLiteral("Resume")};
    return {QStringLiteral("OK")};
}

QString StartViewModel::alertCancelButton() const
{
    // The interrupted run is answered only by a choice.
    if (m_alert == Alert::InterruptedRun)
        return QString();
    const QStringList buttons = alertButtons();
    return buttons.isEmpty() ? QString() : buttons.first();
}

QStringList StartViewModel::alertDestructiveButtons() const
{
    return m_alert == Alert::DeleteConfirmation ? QStringList{QStringLiteral("Delete")} : QStringList{};
}

void StartViewModel::chooseAlertButton(const QString &button)
{
    if (m_alert == Alert::DeleteConfirmation && button == QLatin1String("Delete")) {
        confirmDelete();
    } else if (m_alert == Alert::SameParticipant && button == QLatin1String("Start")) {
        dismissAlert();
        enterRun(m_completed->ppid);
    } else if (m_alert == Alert::StartCaution && button == QLatin1String("Start")) {
        dismissAlert();
        startPastCautions(m_ppid.trimmed());
    } else if (m_alert == Alert::InterruptedRun && button == QLatin1String("Close it")) {
        m_interrupted->close();
        m_interrupted.reset();
        dismissAlert();
    } else if (m_alert == Alert::InterruptedRun && button == QLatin1String("Resume")) {
        if (m_interrupted->protocolChanged())
            show(Alert::ChangedProtocol);
        else
            resumeInterruptedRun();
    } else if (m_alert == Alert::ChangedProtocol) {
        if (button == QLatin1String("Resume"))
            resumeInterruptedRun();
        else
            show(Alert::InterruptedRun);
    } else {
        dismissAlert();
    }
}

void StartViewModel::stopDiscovery()
{
    m_session.stopBrowsing();
    m_session.stopAdvertising();
}

void StartViewModel::appeared()
{
    m_library.listProtocols();
    if (selectedFileName().isEmpty())
        stopDiscovery();
    selectionDidChange();
    offerInterruptedRun();
}

void StartViewModel::offerInterruptedRun()
{
    if (m_controller.running() || m_alert != Alert::None)
        return;
    m_interrupted = InterruptedRun::find();
    if (m_interrupted)
        show(Alert::InterruptedRun);
}

void StartViewModel::resumeInterruptedRun()
{
    const RunRecord record = m_interrupted->record();
    const auto loaded = m_library.loadProtocol(record.protocolFile);
    const auto text = m_interrupted->labelFileText();
    if (!loaded.run || !text) {
        show(Alert::RunLoadError);
        return;
    }
    dismissAlert();
    m_interrupted.reset();
    m_controller.protocol().currentProtocol()->copyFrom(*loaded.run);
    setSelectedFileName(record.protocolFile);
    m_started = Recorded{record.ppid, Clock::current().now()};
    m_controller.resumeInterruptedRun(record, *text);
    m_content.setIsPPidUnknown(false);
}

void StartViewModel::selectionDidChange()
{
    const QString selected = selectedFileName();
    m_selectedRunUsesDrone = false;
    if (selected.isEmpty()) {
        m_descriptionText.clear();
        stopDiscovery();
    } else if (!DocumentsFolder::path()) {
        m_descriptionText = QStringLiteral("Could not locate the documents directory");
        stopDiscovery();
    } else if (const auto loaded = m_library.loadProtocol(selected); !loaded.run) {
        m_descriptionText = QStringLiteral("Could not decode the json file");
        stopDiscovery();
    } else {
        m_descriptionText = loaded.run->researchDescription().value_or(QStringLiteral("No description"));
        m_selectedRunUsesDrone = loaded.run->usesDrone();
        if (m_selectedRunUsesDrone) {
            m_session.setAutoInvite(true);
            m_session.startBrowsing();
            m_session.startAdvertising();
        } else {
            stopDiscovery();
        }
    }
    emit selectionChanged();
    emit droneChanged();
}

void StartViewModel::tapProtocol(const QString &fileName)
{
    if (!m_editMode) {
        setSelectedFileName(fileName);
        return;
    }
    const auto loaded = m_library.loadProtocol(fileName);
    if (!loaded.run) {
        show(Alert::RunLoadError);
        return;
    }
    m_controller.protocol().currentProtocol()->copyFrom(*loaded.run);
    setSelectedFileName(fileName);
    setRunsEditModeActive(false);
    m_content.setIsTestEditing(true);
}

void StartViewModel::duplicateProtocol(const QString &fileName)
{
    m_library.duplicateProtocol(fileName);
}

void StartViewModel::requestDelete(const QString &fileName)
{
    m_protocolToDelete = fileName;
    show(Alert::DeleteConfirmation);
}

void StartViewModel::confirmDelete()
{
    const QString fileName = m_protocolToDelete;
    m_protocolToDelete.clear();
    show(Alert::None);
    m_library.deleteProtocol(fileName);
}

void StartViewModel::newProtocol()
{
    m_library.createNewProtocol();
    m_content.setIsTestEditing(true);
}

void StartViewModel::chooseDrone()
{
    m_session.cancelAllConnections();
    m_session.setAutoInvite(false);
    m_showPeerBrowser = true;
    emit alertChanged();
}

void StartViewModel::peerBrowserDismissed()
{
    m_showPeerBrowser = false;
    emit alertChanged();
    m_session.setAutoInvite(true);
    if (m_session.state() == MultipeerSessionState::connected)
        m_session.stopAdvertising();
}

bool StartViewModel::start()
{
    static const QRegularExpression digitsOnly(QStringLiteral("\\A[0-9]*\\z"));
    const QString ppid = m_ppid.trimmed();
    if (selectedFileName().isEmpty()) {
        show(Alert::NoFileSelected);
        return false;
    }
    if (ppid.isEmpty()) {
        show(Alert::NoPPID);
        return false;
    }
    if (!digitsOnly.match(ppid).hasMatch()) {
        show(Alert::PPIDNotNumeric);
        return false;
    }
    const auto loaded = DocumentsFolder::path() ? m_library.loadProtocol(selectedFileName()) : ProtocolReader::Result{};
    if (!loaded.run) {
        show(Alert::RunLoadError);
        return false;
    }
    m_controller.protocol().currentProtocol()->copyFrom(*loaded.run);
    if (loaded.run->usesDrone() && m_session.connectedPeerNames().isEmpty()) {
        show(Alert::DroneRequired);
        return false;
    }
    m_cautionTexts.clear();
    for (const auto &caution : m_cautions) {
        if (const QString text = caution(*loaded.run); !text.isEmpty())
            m_cautionTexts.append(text);
    }
    if (!m_cautionTexts.isEmpty()) {
        show(Alert::StartCaution);
        return false;
    }
    return startPastCautions(ppid);
}

void StartViewModel::addStartCaution(std::function<QString(const Run &)> caution)
{
    m_cautions.append(std::move(caution));
}

bool StartViewModel::startPastCautions(const QString &ppid)
{
    // The field keeps the last id: the next participant may be started under it by mistake.
    if (m_completed && m_completed->ppid == ppid) {
        show(Alert::SameParticipant);
        return false;
    }
    enterRun(ppid);
    return true;
}

void StartViewModel::enterRun(const QString &ppid)
{
    m_started = Recorded{ppid, Clock::current().now()};
    m_controller.setPPID(ppid);
    m_controller.setRunTimestamp(LogTime::runTimestamp());
    // The run begins before its screen is built, so the screen's views
    // appear on a running, unpaused first step.
    if (!m_controller.running())
        m_controller.startRun();
    m_content.setIsPPidUnknown(false);
}
