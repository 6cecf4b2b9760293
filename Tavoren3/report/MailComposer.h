#pragma once

#include "report/MailComposeView.h"

#include <QString>
#include <functional>

// The platform's mail composer as the completion screen sees it: first
// whether a message can leave this device at all, then the message.
class MailComposer
{
public:
    virtual ~MailComposer() = default;

    // Finds out whether a message can go; answered runs once, on the main
    // thread, possibly before this returns.
    virtual void canSendMail(std::function<void(bool)> answered) = 0;
    // Presents or sends the message (once canSendMail has answered yes);
    // finished runs once when that is over, with what the operator is to be
    // told (empty: nothing).
    virtual void present(const MailComposeView &mail, std::function<void(const QString &status)> finished) = 0;
};
