#pragma once

#include "report/MailComposeView.h"

#include <QByteArray>
#include <QDateTime>

// A prepared e-mail as an RFC 5322 message: multipart/mixed with the HTML
// body and, when there is one, the label file as a text/plain attachment.
class MimeMessage
{
public:
    static QByteArray build(const MailComposeView &mail, const QDateTime &date);
};
