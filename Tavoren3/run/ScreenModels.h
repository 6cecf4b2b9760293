#pragma once

#include "bridge/EspBleCentral.h"
#include "drone/MultipeerSession.h"
#include "drone/OptionalView.h"
#include "drone/PeerBrowserView2.h"
#include "editor/RunEditorViewModel.h"
#include "markers/MarkerOutput.h"
#include "markers/TriggerBoxViewModel.h"
#include "model/ProtocolLibrary.h"
#include "model/Run.h"
#include "report/AppInfo.h"
#include "report/BackgroundViewModel.h"
#include "report/CompletionOverlay.h"
#include "run/ContentViewModel.h"
#include "run/CurrentStepViewModel.h"
#include "run/FooterViewModel.h"
#include "run/HeaderViewModel.h"
#include "run/NextStepViewModel.h"
#include "run/QuitQuestion.h"
#include "run/RunRecorder.h"
#include "run/StartViewModel.h"
#include "run/VerkeersLeiding.h"
#include "run/WorkingViewModel.h"
#include "tasks/WriteNoteView.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <memory>

class HapticFeedback;
class MailComposer;
class Tavoren3App;
class UrlOpener;

// Every object the timekeeper's screens bind to, built once on the
// application's shared objects.
class ScreenModels : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the application on its shared objects.")
    Q_PROPERTY(VerkeersLeiding *controller READ controller CONSTANT)
    Q_PROPERTY(MultipeerSession *session READ session CONSTANT)
    Q_PROPERTY(Run *protocol READ protocol CONSTANT)
    Q_PROPERTY(AppInfo *appInfo READ appInfo CONSTANT)
    Q_PROPERTY(ContentViewModel *content READ content CONSTANT)
    Q_PROPERTY(StartViewModel *start READ start CONSTANT)
    Q_PROPERTY(RunEditorViewModel *editor READ editor CONSTANT)
    Q_PROPERTY(PeerBrowserView2 *peerBrowser READ peerBrowser CONSTANT)
    Q_PROPERTY(BackgroundViewModel *background READ background CONSTANT)
    Q_PROPERTY(WorkingViewModel *working READ working CONSTANT)
    Q_PROPERTY(HeaderViewModel *header READ header CONSTANT)
    Q_PROPERTY(CurrentStepViewModel *currentStep READ currentStep CONSTANT)
    Q_PROPERTY(NextStepViewModel *nextStep READ nextStep CONSTANT)
    Q_PROPERTY(FooterViewModel *footer READ footer CONSTANT)
    Q_PROPERTY(OptionalView *optionalViews READ optionalViews CONSTANT)
    Q_PROPERTY(WriteNoteView *writeNote READ writeNote CONSTANT)
    Q_PROPERTY(CompletionOverlay *completion READ completion CONSTANT)
    Q_PROPERTY(MarkerOutput *markers READ markers CONSTANT)
    Q_PROPERTY(TriggerBoxViewModel *triggerBox READ triggerBox CONSTANT)
    Q_PROPERTY(QuitQuestion *quitQuestion READ quitQuestion CONSTANT)

public:
    ScreenModels(Tavoren3App &app, AppInfo &appInfo, SoundPlayer &sound, UrlOpener &urlOpener, MailComposer &composer,
                 HapticFeedback &haptics, QObject *parent = nullptr);
    ~ScreenModels() override;

    VerkeersLeiding *controller() const { return &m_controller; }
    MultipeerSession *session() const { return &m_session; }
    Run *protocol() const { return m_protocol.currentProtocol(); }
    AppInfo *appInfo() const { return &m_appInfo; }
    ProtocolLibrary *library() const { return m_library.get(); }
    ContentViewModel *content() const { return m_content.get(); }
    StartViewModel *start() const { return m_start.get(); }
    RunEditorViewModel *editor() const { return m_editor.get(); }
    PeerBrowserView2 *peerBrowser() const { return m_peerBrowser.get(); }
    BackgroundViewModel *background() const { return m_background.get(); }
    WorkingViewModel *working() const { return m_working.get(); }
    HeaderViewModel *header() const { return m_header.get(); }
    CurrentStepViewModel *currentStep() const { return m_currentStep.get(); }
    NextStepViewModel *nextStep() const { return m_nextStep.get(); }
    FooterViewModel *footer() const { return m_footer.get(); }
    OptionalView *optionalViews() const { return m_optionalViews.get(); }
    WriteNoteView *writeNote() const { return m_writeNote.get(); }
    CompletionOverlay *completion() const { return m_completion.get(); }
    MarkerOutput *markers() const { return m_markers.get(); }
    TriggerBoxViewModel *triggerBox() const { return m_triggerBox.get(); }
    RunRecorder &recorder() const { return *m_recorder; }
    QuitQuestion *quitQuestion() const { return m_quitQuestion.get(); }

private:
    VerkeersLeiding &m_controller;
    MultipeerSession &m_session;
    CurrentProtocol &m_protocol;
    AppInfo &m_appInfo;
    std::unique_ptr<ProtocolLibrary> m_library;
    std::unique_ptr<ContentViewModel> m_content;
    std::unique_ptr<StartViewModel> m_start;
    std::unique_ptr<RunEditorViewModel> m_editor;
    std::unique_ptr<PeerBrowserView2> m_peerBrowser;
    std::unique_ptr<BackgroundViewModel> m_background;
    std::unique_ptr<WorkingViewModel> m_working;
    std::unique_ptr<HeaderViewModel> m_header;
    std::unique_ptr<CurrentStepViewModel> m_currentStep;
    std::unique_ptr<NextStepViewModel> m_nextStep;
    std::unique_ptr<FooterViewModel> m_footer;
    std::unique_ptr<OptionalView> m_optionalViews;
    std::unique_ptr<WriteNoteView> m_writeNote;
    std::unique_ptr<CompletionOverlay> m_completion;
    std::unique_ptr<MarkerOutput> m_markers;
    std::unique_ptr<TriggerBoxViewModel> m_triggerBox;
    std::unique_ptr<RunRecorder> m_recorder;
    std::unique_ptr<QuitQuestion> m_quitQuestion;
};
