#include "report/MailComposeView.h"

#include "common/Console.h"
#include "run/LabelFileWriter.h"

#include <QRegularExpression>

QString MailComposeView::htmlEscaped(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    escaped.replace(QLatin1Char('\''), QStringLiteral("&#39;"));
    return escaped;
}

QString MailComposeView::htmlBody(const QString &completedLogFileName)
{
    const QStringList parts = completedLogFileName.split(QLatin1Char('_'));
    const auto part = [&](qsizetype n) { return htmlEscaped(n < parts.size() ? parts.at(n) : QStringLiteral("missing")); };
    return QStringLiteral("<html>\n  <body style=\"font-family: -apple-system; font-size: 14px;\">\n"
                          "    <p>Dear,</p>\n    <p>Please find the detailed log file attached.</p>\n"
                          "    <p>Sincerely,<br/>your Brelo team</p>\n    <p>\n      <b>PPID:</b> ")
        + part(1) + QStringLiteral("<br/>\n      <b>Research:</b> ") + part(0)
        + QStringLiteral("<br/>\n      <b>Date:</b> ") + part(3)
        + QStringLiteral(" (finishing timestamp)<br/>\n      <b>Time:</b> ") + part(4)
        + QStringLiteral(" (finishing timestamp)\n    </p>\n  </body>\n</html>");
}

bool MailComposeView::isValidEmailAddress(const QString &address)
{
    static const QRegularExpression form(
        QStringLiteral("\\A[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,64}\\z"));
    return !address.isEmpty() && form.match(address).hasMatch();
}

MailComposeView MailComposeView::prepare(const QString &emailAddress, const QString &completedLogFileName,
                                         const QString &researchName)
{
    MailComposeView mail;
    mail.recipients = QStringList{emailAddress};
    mail.subject = QStringLiteral("Label file from the practical");
    mail.body = htmlBody(completedLogFileName);
    mail.attachmentFileName = LabelFileWriter::safeFileName(completedLogFileName + QStringLiteral(".lbl"));
    mail.attachmentData = LabelFileWriter::readCompletedLabelFile(researchName, completedLogFileName);
    if (!mail.attachmentData)
        Console::line(QStringLiteral("ATTACHMENT DATA IS EMPTY!!!"));
    return mail;
}
