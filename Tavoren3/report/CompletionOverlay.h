#pragma once

#include "report/MailComposer.h"

#include <QObject>
#include <QString>
#include <optional>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class SoundPlayer;
class VerkeersLeiding;

// The screen after the last step: where the label file is, back home, and
// the label file by e-mail.
class CompletionOverlay : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(CompletionOverlayModel)
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool showEmailDialog READ showEmailDialog WRITE setShowEmailDialog NOTIFY changed)
    Q_PROPERTY(QString emailAddress READ emailAddress WRITE setEmailAddress NOTIFY changed)
    Q_PROPERTY(bool sendEnabled READ sendEnabled NOTIFY changed)
    Q_PROPERTY(QString sendColor READ sendColor NOTIFY changed)
    Q_PROPERTY(bool showAlert READ showAlert NOTIFY changed)
    Q_PROPERTY(QString alertMessage READ alertMessage NOTIFY changed)
    Q_PROPERTY(bool mailBusy READ mailBusy NOTIFY changed)
    Q_PROPERTY(QString retrievalHint READ retrievalHint CONSTANT)
    Q_PROPERTY(QString labelFilePath READ labelFilePath NOTIFY changed)
    Q_PROPERTY(QString labelFileText READ labelFileText NOTIFY changed)

public:
    CompletionOverlay(VerkeersLeiding &manager, MultipeerSession &session, SoundPlayer &sound, MailComposer &composer,
                      QObject *parent = nullptr);

    bool showEmailDialog() const { return m_showEmailDialog; }
    void setShowEmailDialog(bool show);
    QString emailAddress() const { return m_emailAddress; }
    void setEmailAddress(const QString &address);
    bool sendEnabled() const;
    // sRGB (137, 145, 245) for a valid address, (219, 222, 255) otherwise.
    QString sendColor() const;
    bool showAlert() const { return m_showAlert; }
    QString alertMessage() const { return m_alertMessage; }
    // A pressed Send waits for the answer whether mail can go, or the
    // message is with the composer or on its way.
    bool mailBusy() const { return m_sendWaiting || m_showMailComposer; }
    // Where the label file of the run lies on this machine.
    QString retrievalHint() const;
    // The completed run's label file; "" without a documents folder.
    QString labelFilePath() const;
    // "Label file: " and the file's name, as it is found in that folder.
    QString labelFileText() const;

    // Each time the screen is drawn the drone is told the run is done.
    Q_INVOKABLE void drawn();
    Q_INVOKABLE void returnToHome();
    // Opens the dialog and asks, while the address is typed, whether mail
    // can go: each opening starts a send attempt, and Send waits for the answer.
    Q_INVOKABLE void exportResults();
    Q_INVOKABLE void cancelEmail();
    // The layer behind the dialog: closes it, keeping the address.
    Q_INVOKABLE void dismissEmailDialog() { setShowEmailDialog(false); }
    Q_INVOKABLE void send();
    Q_INVOKABLE void dismissAlert();

signals:
    void changed();

private:
    void askCanSendMail();
    void onSend();
    void deliver();
    void showStatus(const QString &message);

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    SoundPlayer &m_sound;
    MailComposer &m_composer;
    bool m_showEmailDialog = false;
    QString m_emailAddress;
    bool m_showAlert = false;
    QString m_alertMessage;
    bool m_showMailComposer = false;
    bool m_asking = false;
    bool m_sendWaiting = false;
    std::optional<bool> m_canSendMail; // the answer, until a Send uses it
};
