#pragma once

#include "report/MailComposeView.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Opens the desktop's mail program with the message filled in, through
// xdg-email: recipients, subject, the body as plain text (a mailto: link
// carries no HTML) and the attachment as a file. The operator sends or
// discards it there.
class DesktopMailComposer
{
public:
    static void present(const MailComposeView &mail, QObject *owner, std::function<void(const QString &)> finished);

    // The xdg-email command; attachmentPath is empty when there is nothing to attach.
    static QStringList command(const MailComposeView &mail, const QString &attachmentPath);
    static QString plainText(const QString &html);
    // Where an attachment of that name is written for the mail program to
    // read: a folder of this user's, kept after sending (the mail program
    // may read it late).
    static QString attachmentPath(const QString &fileName);
};
