#pragma once

#include "report/MailComposeView.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Sends the whole message (HTML body, label file attached) through the
// machine's sendmail-compatible program (msmtp, postfix, exim), which knows
// the lab's mail server: "sendmail -t -i", the message on standard input.
class SendmailTransport
{
public:
    // sendmail: the program and any leading arguments of its own.
    static void send(const QStringList &sendmail, const MailComposeView &mail, QObject *owner,
                     std::function<void(const QString &)> finished);
};
