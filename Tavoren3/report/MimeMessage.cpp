#include "report/MimeMessage.h"

#include <QUuid>

namespace {

// Lines of at most 76 characters, as mail transport wants them.
QByteArray base64Lines(const QByteArray &data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        lines += encoded.mid(i, 76) + "\r\n";
    return lines;
}

// A header text that may hold any character.
QByteArray encodedWord(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    bool plain = true;
    for (const char c : utf8)
        plain = plain && c >= 0x20 && c < 0x7f;
    return plain ? utf8 : "=?UTF-8?B?" + utf8.toBase64() + "?=";
}

} // namespace

QByteArray MimeMessage::build(const MailComposeView &mail, const QDateTime &date)
{
    const QByteArray boundary = "tavoren-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    QByteArray message;
    QByteArrayList to;
    for (const QString &recipient : mail.recipients)
        to.append(recipient.toUtf8());
    message += "To: " + to.join(", ") + "\r\n";
    message += "Subject: " + encodedWord(mail.subject) + "\r\n";
    message += "Date: " + date.toString(Qt::RFC2822Date).toUtf8() + "\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    message += "--" + boundary + "\r\n";
    message += "Content-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    message += base64Lines(mail.body.toUtf8());
    if (mail.attachmentData) {
        message += "--" + boundary + "\r\n";
        message += "Content-Type: text/plain; name=\"" + mail.attachmentFileName.toUtf8() + "\"\r\n";
        message += "Content-Disposition: attachment; filename=\"" + mail.attachmentFileName.toUtf8() + "\"\r\n";
        message += "Content-Transfer-Encoding: base64\r\n\r\n";
        message += base64Lines(*mail.attachmentData);
    }
    message += "--" + boundary + "--\r\n";
    return message;
}
