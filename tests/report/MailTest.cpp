#include "report/MailComposeView.h"
#include "report/MimeMessage.h"
#include "run/DryRun.h"
#include "support/ConsoleCapture.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// What Python's own e-mail parser makes of a message.
QStringList parsedByPython(const QString &emlPath, const QString &attachmentCopy)
{
    const QString script = QStringLiteral(R"PY(
import sys, email
from email import policy
msg = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=policy.default)
print('to:', msg['To'])
print('subject:', msg['Subject'])
print('type:', msg.get_content_type())
for part in msg.iter_parts():
    print('part:', part.get_content_type(), part.get_filename())
    if part.get_filename():
        open(sys.argv[2], 'wb').write(part.get_payload(decode=True))
    else:
        print('html starts:', part.get_content()[:6])
print('defects:', len(msg.defects))
)PY");
    return ProgramRun::of(QStringLiteral("python3"), {"-c", script, emlPath, attachmentCopy}).outLines();
}

} // namespace

TEST(MailBody, PartsOfTheLabelFileName)
{
    const QString body = MailComposeView::htmlBody("Stress_1234_1_20261205_093015");
    EXPECT_TRUE(body.startsWith("<html>\n  <body style=\"font-family: -apple-system; font-size: 14px;\">\n"));
    EXPECT_TRUE(body.contains("<b>PPID:</b> 1234<br/>\n      <b>Research:</b> Stress<br/>\n      <b>Date:</b> 20261205 "
                              "(finishing timestamp)<br/>\n      <b>Time:</b> 093015 (finishing timestamp)\n    </p>"));
    EXPECT_TRUE(body.endsWith("</body>\n</html>"));

    const QString plain = MailComposeView::htmlBody("NoUnderscores");
    EXPECT_TRUE(plain.contains("<b>PPID:</b> missing<br/>"));
    EXPECT_TRUE(plain.contains("<b>Research:</b> NoUnderscores<br/>"));
    EXPECT_TRUE(plain.contains("<b>Time:</b> missing (finishing"));

    const QString shifted = MailComposeView::htmlBody("My_Study_7_1_20261205_093015");
    EXPECT_TRUE(shifted.contains("<b>PPID:</b> Study<br/>\n      <b>Research:</b> My<br/>\n      <b>Date:</b> 1 "));
    EXPECT_TRUE(shifted.contains("<b>Time:</b> 20261205 "));

    EXPECT_TRUE(MailComposeView::htmlBody("S_<b>_1_d_t").contains("<b>PPID:</b> &lt;b&gt;<br/>"));
    EXPECT_EQ(MailComposeView::htmlEscaped("&<>\"'"), "&amp;&lt;&gt;&quot;&#39;");
}

TEST(MailAddress, WholeTextCheck)
{
    for (const char *valid : {"anna@lab.org", "Anna.B+x-1@lab.org", "p@mail.uni.edu", "p@sub.domain.museum"})
        EXPECT_TRUE(MailComposeView::isValidEmailAddress(valid)) << valid;
    for (const char *invalid : {"", "anna@lab", "anna@la b.org", "anna@lab.o", "anna@lab.org x", " anna@lab.org",
                                "anna@lab.org\n"})
        EXPECT_FALSE(MailComposeView::isValidEmailAddress(invalid)) << invalid;
}

TEST(MailMessage, AFinishedDryRunParsesWithTheLabelFileAttachedByteForByte)
{
    TemporaryDocuments documents;
    QFile protocol(QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json"));
    ASSERT_TRUE(protocol.open(QIODevice::ReadOnly));
    const DryRun::Outcome run = DryRun::run({protocol.readAll(), "77", 5}, [](const QString &) {});
    ASSERT_TRUE(run.labelFilePath) << run.error.toStdString();
    const QString base = QFileInfo(*run.labelFilePath).completeBaseName();

    ConsoleCapture console;
    const MailComposeView mail = MailComposeView::prepare("anna@lab.org", "Mini protocol" + base.mid(12), "Mini protocol");
    ASSERT_TRUE(mail.attachmentData);
    EXPECT_EQ(mail.subject, "Label file from the practical");
    EXPECT_EQ(mail.attachmentFileName, base + ".lbl");

    documents.write("message.eml", MimeMessage::build(mail, QDateTime(QDate(2026, 12, 5), QTime(9, 30), Qt::UTC)));
    const QStringList parsed = parsedByPython(documents.filePath("message.eml"), documents.filePath("attachment.bin"));
    EXPECT_EQ(parsed, (QStringList{"to: anna@lab.org", "subject: Label file from the practical", "type: multipart/mixed",
                                   "part: text/html None", "html starts: <html>",
                                   "part: text/plain " + base + ".lbl", "defects: 0"}));
    QFile label(*run.labelFilePath);
    ASSERT_TRUE(label.open(QIODevice::ReadOnly));
    EXPECT_EQ(documents.read("attachment.bin"), label.readAll());
}

TEST(MailMessage, WithoutTheLabelFileTheMessageGoesWithoutAttachment)
{
    TemporaryDocuments documents;
    ConsoleCapture console;
    const MailComposeView mail = MailComposeView::prepare("anna@lab.org", "Gone_1_1_20261205_093015", "Gone");
    EXPECT_FALSE(mail.attachmentData);
    EXPECT_TRUE(console.contains("ATTACHMENT DATA IS EMPTY!!!"));
    EXPECT_FALSE(MimeMessage::build(mail, QDateTime::currentDateTimeUtc()).contains("Content-Disposition"));

    const QString longName = QString(120, 'x') + "_1_1_2_3";
    EXPECT_EQ(MailComposeView::prepare("a@b.cd", longName, "r").attachmentFileName, QString(100, 'x'));
    EXPECT_EQ(MailComposeView::prepare("a@b.cd", "Caf\u00e9 \u00e9tude_1_1_2_3", "r").attachmentFileName,
              "Caftude_1_1_2_3.lbl");
}
