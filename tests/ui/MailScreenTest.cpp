#include "ScreenFixture.h"

#include "report/SystemMailComposer.h"
#include "support/MailTestDesk.h"

#include <QFile>
#include <QTest>
#include <QUrlQuery>

namespace {

// This machine's mail set-up, made before the window that mails through it.
struct MailDesk
{
    MailTestDesk desk;
    SystemMailComposer systemComposer{desk.sendmail()};
};

// The completion screen of a one-step run, mailing through the real programs.
class MailScreen : protected MailDesk, public ScreenFixture
{
protected:
    MailScreen() : ScreenFixture(systemComposer)
    {
        addProtocol("mail.json", {"Mail", "1", false, {step(1, "Only", "only", 0)}});
        click("runRow mail.json");
        type("ppidField", "5");
        click("startButton");
        click("doneButton");
    }
    // Sends the label file from the completion screen; the "Email Status" alert's text, if one shows.
    QString sendTo(const QString &address, bool alert = true)
    {
        click("exportButton");
        type("emailField", address);
        screenshot("completion-email");
        click("emailSend");
        if (!alert || !QTest::qWaitFor([this] { return shown("emailStatusAlert"); }, 60000))
            return QString();
        const QString status = text("alertMessage", find("emailStatusAlert"));
        answer("emailStatusAlert", "OK");
        return status;
    }
    const QString labelFile = "Label_files/Mail/Mail_5_1_20260601_100000.lbl";
};

} // namespace

TEST_F(MailScreen, TheLabsMailServerSendsOrSaysWhyNotAndTheDesktopsMailProgramComesFirst)
{
    desk.startMailServer();
    const QString refused = sendTo("unknown@example.org");
    EXPECT_TRUE(refused.startsWith("The e-mail could not be sent: ")) << refused.toStdString();
    EXPECT_TRUE(refused.contains("Recipient address rejected")) << refused.toStdString();
    EXPECT_TRUE(desk.received().isEmpty());
    EXPECT_EQ(sendTo("researcher@example.org"), "The e-mail was sent to researcher@example.org.");
    const auto received = desk.received();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.first().first, "researcher@example.org");
    EXPECT_EQ(MailTestDesk::parsedByPython(received.first().second, documents.filePath("attachment")),
              (QStringList{"to: researcher@example.org", "subject: Label file from the practical",
                           "type: multipart/mixed", "part: text/html None", "html starts: <html>",
                           "part: text/plain Mail_5_1_20260601_100000.lbl", "defects: 0"}));
    EXPECT_EQ(documents.read("attachment"), documents.read(labelFile));
    desk.registerMailProgram();
    sendTo("researcher@example.org", false);
    const QStringList arguments = desk.mailProgramArguments();
    ASSERT_EQ(arguments.size(), 1);
    const QUrl link(arguments.first());
    const QUrlQuery fields(link);
    EXPECT_EQ(link.path(), "researcher@example.org");
    EXPECT_EQ(fields.queryItemValue("subject", QUrl::FullyDecoded), "Label file from the practical");
    const QString body = fields.queryItemValue("body", QUrl::FullyDecoded);
    EXPECT_TRUE(body.endsWith("\r\n\r\nPPID: 5\r\nResearch: Mail\r\nDate: 20260601 (finishing timestamp)\r\n"
                              "Time: 100000 (finishing timestamp)"))
        << body.toStdString();
    QFile attached(fields.queryItemValue("attach", QUrl::FullyDecoded));
    ASSERT_TRUE(attached.open(QIODevice::ReadOnly));
    EXPECT_EQ(attached.readAll(), documents.read(labelFile));
    EXPECT_TRUE(QTest::qWaitFor([this] { return enabled("exportButton"); }, 30000)) << "the hand-off ends";
    EXPECT_FALSE(shown("emailStatusAlert"));
}
