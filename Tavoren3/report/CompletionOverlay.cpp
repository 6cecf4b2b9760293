#include "report/CompletionOverlay.h"

#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/SoundPlayer.h"
#include "run/VerkeersLeiding.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {
constexpr int completionSound = 1303;
}

CompletionOverlay::CompletionOverlay(VerkeersLeiding &manager, MultipeerSession &session, SoundPlayer &sound,
                                     MailComposer &composer, QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_sound(sound), m_composer(composer)
{
}

void CompletionOverlay::setShowEmailDialog(bool show)
{
    if (m_showEmailDialog == show)
        return;
    m_showEmailDialog = show;
    emit changed();
}

void CompletionOverlay::setEmailAddress(const QString &address)
{
    if (m_emailAddress == address)
        return;
    m_emailAddress = address;
    emit changed();
}

bool CompletionOverlay::sendEnabled() const
{
    return MailComposeView::isValidEmailAddress(m_emailAddress);
}

QString CompletionOverlay::sendColor() const
{
    return sendEnabled() ? QStringLiteral("#8991f5") : QStringLiteral("#dbdeff");
}

QString CompletionOverlay::labelFileText() const
{
    return QStringLiteral("Label file: ") + QFileInfo(labelFilePath()).fileName();
}

QString CompletionOverlay::retrievalHint() const
{
    const QString folder = LabelFileWriter::safeFolderName(LabelLog::labelFolderText(m_manager.protocol().currentProtocolName()));
    const auto documents = DocumentsFolder::path();
    const QString where = documents ? QDir(*documents).filePath(QStringLiteral("Label_files/") + folder)
                                    : QStringLiteral("Label_files/") + folder;
    return QStringLiteral("To retrieve it, go to: ") + QDir::toNativeSeparators(where);
}

QString CompletionOverlay::labelFilePath() const
{
    return LabelFileWriter::labelFilePath(m_manager.completedLogFileName() + QStringLiteral(".lbl"),
                                          m_manager.protocol().currentProtocol()->researchName())
        .value_or(QString());
}

void CompletionOverlay::drawn()
{
    m_session.sendState(QStringLiteral("done"));
}

void CompletionOverlay::returnToHome()
{
    m_manager.stopRun();
}

void CompletionOverlay::cancelEmail()
{
    setShowEmailDialog(false);
    setEmailAddress(QString());
}

void CompletionOverlay::send()
{
    if (!m_emailAddress.isEmpty() && sendEnabled()) {
        setShowEmailDialog(false);
        onSend();
    }
    m_sound.playSystemSound(completionSound);
}

void CompletionOverlay::exportResults()
{
    setShowEmailDialog(true);
    askCanSendMail();
}

void CompletionOverlay::askCanSendMail()
{
    if (m_asking)
        return;
    m_asking = true;
    m_canSendMail.reset();
    m_composer.canSendMail([self = QPointer(this)](bool canSendMail) {
        if (!self)
            return;
        self->m_asking = false;
        self->m_canSendMail = canSendMail;
        if (self->m_sendWaiting)
            self->deliver();
    });
}

void CompletionOverlay::onSend()
{
    m_sendWaiting = true;
    emit changed();
    if (m_canSendMail)
        deliver();
    else
        askCanSendMail();
}

void CompletionOverlay::deliver()
{
    const bool canSendMail = m_canSendMail.value_or(false);
    m_canSendMail.reset();
    m_sendWaiting = false;
    if (!canSendMail) {
        showStatus(QStringLiteral("Mail services are not available on this device. Please configure Mail app first."));
        return;
    }
    m_showMailComposer = true;
    emit changed();
    m_composer.present(MailComposeView::prepare(m_emailAddress, m_manager.completedLogFileName(),
                                                m_manager.protocol().currentProtocol()->researchName()),
                       [self = QPointer(this)](const QString &status) {
                           if (!self)
                               return;
                           self->m_showMailComposer = false;
                           if (status.isEmpty())
                               emit self->changed();
                           else
                               self->showStatus(status);
                       });
}

void CompletionOverlay::showStatus(const QString &message)
{
    m_alertMessage = message;
    m_showAlert = true;
    emit changed();
}

void CompletionOverlay::dismissAlert()
{
    m_showAlert = false;
    emit changed();
}
