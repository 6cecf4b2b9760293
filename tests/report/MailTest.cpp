#include "report/MailComposeView.h"
#include "report/MimeMessage.h"
#include "report/SystemMailComposer.h"
#include "support/MailTestDesk.h"
#include "support/TemporaryDocuments.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

TEST(MailBody, NamesThePartsOfTheLabelFileEscaped)
{
    const auto body = [](const QString &name) { return MailComposeView::htmlBody(name); };
    EXPECT_TRUE(body("Stress_1234_1_20261205_093015")
                    .contains("<b>PPID:</b> 1234<br/>\n      <b>Research:</b> Stress<br/>\n      <b>Date:</b> 20261205 "
                              "(finishing timestamp)<br/>\n      <b>Time:</b> 093015 (finishing timestamp)"));
    EXPECT_TRUE(body("NoUnderscores").contains("<b>PPID:</b> missing<br/>\n      <b>Research:</b> NoUnderscores<br/>"));
    EXPECT_TRUE(body("S_<b>_1_d_t").contains("<b>PPID:</b> &lt;b&gt;<br/>"));
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

TEST(MailMessage, WithoutTheLabelFileTheMessageGoesWithoutAttachment)
{
    TemporaryDocuments documents;
    const MailComposeView mail = MailComposeView::prepare("anna@lab.org", "Gone_1_1_20261205_093015", "Gone");
    EXPECT_FALSE(mail.attachmentData);
    EXPECT_FALSE(MimeMessage::build(mail, QDateTime::currentDateTimeUtc()).contains("Content-Disposition"));

    const QString longName = QString(120, 'x') + "_1_1_2_3";
    EXPECT_EQ(MailComposeView::prepare("a@b.cd", longName, "r").attachmentFileName, QString(100, 'x'));
    EXPECT_EQ(MailComposeView::prepare("a@b.cd", "Caf\u00e9 \u00e9tude_1_1_2_3", "r").attachmentFileName,
              "Caftude_1_1_2_3.lbl");
}

TEST(MailRoute, TheDesktopsMailProgramComesBeforeTheMailServer)
{
    MailTestDesk desk;
    const auto routeOf = [](const QStringList &sendmail) {
        SystemMailComposer composer(sendmail);
        std::optional<bool> canSendMail;
        composer.canSendMail([&](bool can) { canSendMail = can; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return canSendMail.has_value(); }, 30000));
        EXPECT_EQ(canSendMail, composer.route() != SystemMailComposer::NoRoute);
        return composer.route();
    };
    const QStringList noSendmail{"/nonexistent/sendmail"};
    EXPECT_EQ(routeOf(noSendmail), SystemMailComposer::NoRoute);
    EXPECT_EQ(routeOf(desk.sendmail()), SystemMailComposer::MailServer);
    desk.registerMailProgram();
    EXPECT_EQ(routeOf(desk.sendmail()), SystemMailComposer::DesktopComposer);
    EXPECT_EQ(routeOf(noSendmail), SystemMailComposer::DesktopComposer);
}
