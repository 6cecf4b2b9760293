#include "run/ScreenModels.h"

#include "run/Tavoren3App.h"

ScreenModels::ScreenModels(Tavoren3App &app, AppInfo &appInfo, SoundPlayer &sound, UrlOpener &urlOpener,
                           MailComposer &composer, HapticFeedback &haptics, QObject *parent)
    : QObject(parent), m_controller(app.verkeersLeiding()), m_session(app.VESK_Session()),
      m_protocol(app.currentProtocol()), m_appInfo(appInfo),
      m_library(std::make_unique<ProtocolLibrary>(m_protocol)),
      m_content(std::make_unique<ContentViewModel>(m_controller, m_session, *m_library)),
      m_start(std::make_unique<StartViewModel>(*m_content, *m_library, m_controller, m_session)),
      m_editor(std::make_unique<RunEditorViewModel>(*m_content, *m_library, m_controller)),
      m_peerBrowser(std::make_unique<PeerBrowserView2>(m_session)),
      m_background(std::make_unique<BackgroundViewModel>(appInfo, urlOpener)),
      m_working(std::make_unique<WorkingViewModel>(m_controller, m_session)),
      m_header(std::make_unique<HeaderViewModel>(m_session, m_controller, m_protocol)),
      m_currentStep(std::make_unique<CurrentStepViewModel>(m_controller)),
      m_nextStep(std::make_unique<NextStepViewModel>(m_controller)),
      m_footer(std::make_unique<FooterViewModel>(m_controller)),
      m_optionalViews(std::make_unique<OptionalView>(m_controller, m_session, haptics)),
      m_writeNote(std::make_unique<WriteNoteView>(m_controller)),
      m_completion(std::make_unique<CompletionOverlay>(m_controller, m_session, sound, composer)),
      m_markers(std::make_unique<MarkerOutput>()),
      m_recorder(std::make_unique<RunRecorder>(m_controller, *m_library)),
      m_quitQuestion(std::make_unique<QuitQuestion>(m_controller))
{
    m_markers->apply(MarkerSettings::load());
    m_markers->follow(m_controller);
    m_triggerBox = std::make_unique<TriggerBoxViewModel>(*m_markers);
    m_start->addStartCaution([this](const Run &run) { return m_markers->startCaution(run); });
    const auto noteCodes = [this] { m_editor->setMarkersInUse(m_markers->inUse()); };
    connect(m_markers.get(), &MarkerOutput::stateChanged, m_editor.get(), noteCodes);
    noteCodes();
    // After the controller's own tick: the record holds what the tick changed.
    connect(&app.tickTimer(), &TickTimer::tick, m_recorder.get(), &RunRecorder::keepAlive);
    connect(m_peerBrowser.get(), &PeerBrowserView2::dismissed, m_start.get(), &StartViewModel::peerBrowserDismissed);
    connect(m_start.get(), &StartViewModel::alertChanged, m_peerBrowser.get(),
            [this] { m_peerBrowser->setPresented(m_start->showPeerBrowser()); });
    // A pairing the session began by itself (a drone remembered from before
    // pairing) shows its code in the chooser.
    connect(&m_session, &MultipeerSession::pairingChanged, m_start.get(), [this] {
        if (m_session.isPairing() && !m_start->showPeerBrowser())
            m_start->chooseDrone();
    });
}

ScreenModels::~ScreenModels() = default;
