#include "report/MailComposeView.h"
#include "report/MimeMessage.h"
#include "report/SystemMailComposer.h"
#include "run/DryRun.h"
#include "support/ConsoleCapture.h"
#include "support/MailTestDesk.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <QFile>
#include <QTest>
#include <QUrlQuery>
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

// The message of a finished dry run of the bundled protocol, its label file attached.
class FinishedRunMail : public ::testing::Test
{
protected:
    FinishedRunMail()
    {
        QFile protocol(QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json"));
        protocol.open(QIODevice::ReadOnly);
        const DryRun::Outcome run = DryRun::run({protocol.readAll(), "77", 5}, [](const QString &) {});
        QFile label(run.labelFilePath.value_or(QString()));
        label.open(QIODevice::ReadOnly);
        labelFile = label.readAll();
        base = QFileInfo(label).completeBaseName();
        mail = MailComposeView::prepare("anna@lab.org", "Mini protocol" + base.mid(12), "Mini protocol");
    }

    // What Python's parser makes of a message, the attachment's bytes compared with the label file.
    void expectParsed(const QString &emlPath)
    {
        EXPECT_EQ(parsedByPython(emlPath, documents.filePath("attachment.bin")),
                  (QStringList{"to: anna@lab.org", "subject: Label file from the practical", "type: multipart/mixed",
                               "part: text/html None", "html starts: <html>", "part: text/plain " + base + ".lbl",
                               "defects: 0"}));
        EXPECT_EQ(documents.read("attachment.bin"), labelFile);
    }

    // Asks the composer whether mail can go; the way it found.
    static SystemMailComposer::Route asked(SystemMailComposer &composer)
    {
        std::optional<bool> canSendMail;
        composer.canSendMail([&](bool can) { canSendMail = can; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return canSendMail.has_value(); }, 30000));
        EXPECT_EQ(canSendMail, composer.route() != SystemMailComposer::NoRoute);
        return composer.route();
    }

    // Presents the message once the composer has found that way; its word.
    QString presented(SystemMailComposer &composer, SystemMailComposer::Route route)
    {
        EXPECT_EQ(asked(composer), route);
        std::optional<QString> status;
        composer.present(mail, [&](const QString &word) { status = word; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return status.has_value(); }, 60000));
        return status.value_or("(no word)");
    }

    TemporaryDocuments documents;
    ConsoleCapture console;
    MailTestDesk desk;
    QByteArray labelFile;
    QString base;
    MailComposeView mail;
};

TEST_F(FinishedRunMail, ParsesWithTheLabelFileAttachedByteForByte)
{
    ASSERT_FALSE(labelFile.isEmpty());
    EXPECT_EQ(mail.attachmentFileName, base + ".lbl");
    documents.write("message.eml", MimeMessage::build(mail, QDateTime(QDate(2026, 12, 5), QTime(9, 30), Qt::UTC)));
    expectParsed(documents.filePath("message.eml"));
}

TEST_F(FinishedRunMail, TheRouteFollowsWhatTheMachineHas)
{
    SystemMailComposer noSendmail({"/nonexistent/sendmail"});
    SystemMailComposer sendmail(desk.sendmail());
    EXPECT_EQ(asked(noSendmail), SystemMailComposer::NoRoute);
    EXPECT_EQ(asked(sendmail), SystemMailComposer::MailServer);
    desk.registerMailProgram();
    EXPECT_EQ(asked(sendmail), SystemMailComposer::DesktopComposer) << "the desktop's mail program comes first";
    EXPECT_EQ(asked(noSendmail), SystemMailComposer::DesktopComposer);
}

TEST_F(FinishedRunMail, TheDesktopMailProgramOpensFilledIn)
{
    desk.registerMailProgram();
    SystemMailComposer composer({"/nonexistent/sendmail"});
    EXPECT_EQ(presented(composer, SystemMailComposer::DesktopComposer), "");
    const QStringList arguments = desk.mailProgramArguments();
    ASSERT_EQ(arguments.size(), 1);
    const QUrl link(arguments.first());
    const QUrlQuery query(link);
    EXPECT_EQ(link.scheme() + ":" + link.path(), "mailto:anna@lab.org");
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Label file from the practical");
    const QStringList body = query.queryItemValue("body", QUrl::FullyDecoded).split("\r\n");
    const QStringList parts = base.split('_');
    for (const QString &line : QStringList{"PPID: 77", "Research: Mini protocol", "Date: " + parts.at(3) + " (finishing timestamp)",
                                "Time: " + parts.at(4) + " (finishing timestamp)"})
        EXPECT_TRUE(body.contains(line)) << line.toStdString() << " in " << body.join('|').toStdString();
    const QString attached = query.queryItemValue("attach", QUrl::FullyDecoded);
    EXPECT_TRUE(attached.endsWith("/" + base + ".lbl")) << attached.toStdString();
    QFile file(attached);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), labelFile);
}

TEST_F(FinishedRunMail, TheLabsMailServerReceivesTheWholeMessage)
{
    desk.startMailServer();
    SystemMailComposer composer(desk.sendmail());
    EXPECT_EQ(presented(composer, SystemMailComposer::MailServer), "The e-mail was sent to anna@lab.org.");
    ASSERT_EQ(desk.received().size(), 1);
    EXPECT_EQ(desk.received().first().first, "anna@lab.org");
    expectParsed(desk.received().first().second);
}

TEST_F(FinishedRunMail, ARefusedRecipientIsReportedAndNothingSent)
{
    desk.startMailServer(true);
    SystemMailComposer composer(desk.sendmail());
    const QString status = presented(composer, SystemMailComposer::MailServer);
    EXPECT_TRUE(status.startsWith("The e-mail could not be sent: ")) << status.toStdString();
    EXPECT_TRUE(status.contains("Recipient address rejected")) << status.toStdString();
    EXPECT_TRUE(desk.received().isEmpty());
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
