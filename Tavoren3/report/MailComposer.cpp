#include "report/MailComposer.h"

#include "common/Clock.h"
#include "common/Console.h"
#include "common/WholeFile.h"
#include "report/MimeMessage.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The desktop program registered for e-mail messages, or none.
QString mailHandler()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("message/rfc822")});
    if (!query.waitForFinished(5000) || query.exitCode() != 0)
        return QString();
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

} // namespace

bool MailComposer::canSendMail() const
{
    return !mailHandler().isEmpty();
}

QString MailComposer::draftPath(const MailComposeView &mail)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    const QString name = mail.attachmentFileName.isEmpty() ? QStringLiteral("label-file") : mail.attachmentFileName;
    return QDir(folder).filePath(name + QStringLiteral(".eml"));
}

void MailComposer::present(const MailComposeView &mail, const std::function<void()> &finished)
{
    const QString path = draftPath(mail);
    QString error;
    if (!WholeFile::write(path, MimeMessage::build(mail, Clock::current().now()), &error)) {
        Console::line(QStringLiteral("Could not write the e-mail draft ") + path + QStringLiteral(": ") + error);
    } else if (!QProcess::startDetached(QStringLiteral("xdg-open"), {path})) {
        Console::line(QStringLiteral("Could not open the e-mail draft ") + path);
    }
    if (finished)
        finished();
}
