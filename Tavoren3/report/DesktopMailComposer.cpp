#include "report/DesktopMailComposer.h"

#include "common/WholeFile.h"
#include "report/BackgroundProgram.h"
#include "run/LabelFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <utility>

namespace {
constexpr int handOffMs = 5000;
}

QString DesktopMailComposer::plainText(const QString &html)
{
    // Paragraphs apart by a blank line, the lines within one as the HTML breaks them.
    QTextDocument document;
    document.setHtml(html);
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QStringList lines = block.text().split(QChar::LineSeparator);
        for (QString &line : lines)
            line = line.trimmed();
        if (!lines.join(QString()).isEmpty())
            paragraphs.append(lines.join(QLatin1Char('\n')));
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString DesktopMailComposer::attachmentPath(const QString &fileName)
{
    QString name = LabelFileWriter::safeFileName(fileName);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("label-file.lbl");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/mail");
    return QDir(folder).filePath(name);
}

QStringList DesktopMailComposer::command(const MailComposeView &mail, const QString &attachmentPath)
{
    // Recipients go into the mailto: link, so that none is read as an option.
    QStringList to;
    for (const QString &recipient : mail.recipients)
        to.append(QString::fromLatin1(QUrl::toPercentEncoding(recipient, "@")));
    QStringList command{QStringLiteral("xdg-email"), QStringLiteral("--utf8"), QStringLiteral("--subject"), mail.subject,
                        QStringLiteral("--body"), plainText(mail.body)};
    if (!attachmentPath.isEmpty())
        command << QStringLiteral("--attach") << attachmentPath;
    return command << QStringLiteral("mailto:") + to.join(QLatin1Char(','));
}

void DesktopMailComposer::present(const MailComposeView &mail, QObject *owner,
                                  std::function<void(const QString &)> finished)
{
    QString path;
    if (mail.attachmentData) {
        path = attachmentPath(mail.attachmentFileName);
        QString error;
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!WholeFile::write(path, *mail.attachmentData, &error)) {
            finished(QStringLiteral("The label file could not be prepared for the mail program: ") + error);
            return;
        }
    }
    // A desktop hands the message on and xdg-email returns; a plain window
    // manager keeps it until the mail program closes, so once that has been
    // open for a moment the hand-off counts as done.
    const auto told = std::make_shared<bool>(false);
    const auto tell = [finished, told](const QString &status) {
        if (!std::exchange(*told, true))
            finished(status);
    };
    BackgroundProgram::run(command(mail, path), {}, 0, owner, [tell](const BackgroundProgram::Outcome &outcome) {
        tell(outcome.succeeded ? QString() : QStringLiteral("The mail program could not be opened: ") + outcome.failure);
    });
    QTimer::singleShot(handOffMs, owner, [tell] { tell(QString()); });
}
