#pragma once

#include "report/MailComposeView.h"

#include <QString>
#include <functional>

// Hands a prepared message to the desktop's mail client as a draft: the
// message is written as an .eml file and opened with the program the
// desktop has for e-mail messages.
class MailComposer
{
public:
    virtual ~MailComposer() = default;

    // Whether a mail program can take the message.
    virtual bool canSendMail() const;
    // Presents the message; finished runs once the hand-off is over.
    virtual void present(const MailComposeView &mail, const std::function<void()> &finished);

    // Where drafts are written before they are handed on.
    static QString draftPath(const MailComposeView &mail);
};
