#include "run/RunFixture.h"

#include "report/CompletionOverlay.h"

namespace {

// Stands in for the platform's composer, answering when the test says.
class RecordingComposer : public MailComposer
{
public:
    void canSendMail(std::function<void(bool)> answered) override { questions.append(answered); }
    void present(const MailComposeView &mail, std::function<void(const QString &)> finished) override
    {
        presented.append(mail);
        finish = finished;
    }
    void answer(bool canSendMail) { questions.takeFirst()(canSendMail); }
    QList<std::function<void(bool)>> questions;
    QList<MailComposeView> presented;
    std::function<void(const QString &)> finish;
};

class Completion : public RunFixture
{
protected:
    Completion()
    {
        useSteps({step(1, "only", 1)}, "Stress");
        startAt("1234");
        ticks(1);
    }
    RecordingComposer composer;
    CompletionOverlay overlay{controller, session, sound, composer};
};

} // namespace

TEST_F(Completion, TheRunEndsHereAndTheDroneIsToldSo)
{
    ASSERT_TRUE(controller.isCompleted());
    sent.clear();
    overlay.drawn();
    EXPECT_EQ(sent, QStringList{"done"});
    EXPECT_TRUE(overlay.retrievalHint().endsWith("Label_files/Stress")) << overlay.retrievalHint().toStdString();
    overlay.returnToHome();
    EXPECT_TRUE(controller.shouldReturnToHome());
    EXPECT_FALSE(controller.isCompleted());
}

TEST_F(Completion, SendIsEnabledOnlyForAValidAddress)
{
    overlay.exportResults();
    EXPECT_TRUE(overlay.showEmailDialog());
    EXPECT_FALSE(overlay.sendEnabled());
    overlay.setEmailAddress("anna@lab");
    overlay.send();
    EXPECT_TRUE(overlay.showEmailDialog()) << "an invalid address sends nothing";
    EXPECT_TRUE(composer.presented.isEmpty());
    EXPECT_EQ(sound.played, QList<int>({1000, 1303})) << "the sound plays in every case";

    overlay.setEmailAddress("anna@lab.org");
    EXPECT_TRUE(overlay.sendEnabled());
    overlay.send();
    EXPECT_FALSE(overlay.showEmailDialog());
    EXPECT_TRUE(overlay.mailBusy());
    EXPECT_TRUE(composer.presented.isEmpty()) << "Send waits for the answer asked when the dialog opened";
    composer.answer(true);
    ASSERT_EQ(composer.presented.size(), 1);
    const MailComposeView &mail = composer.presented.first();
    EXPECT_EQ(mail.recipients, QStringList{"anna@lab.org"});
    EXPECT_EQ(mail.attachmentFileName, "Stress_1234_1_20261205_100000.lbl");
    EXPECT_EQ(mail.attachmentData, documents.read("Label_files/Stress/Stress_1234_1_20261205_100000.lbl"));
    EXPECT_TRUE(overlay.mailBusy());
    composer.finish(QString());
    EXPECT_FALSE(overlay.mailBusy());
    EXPECT_FALSE(overlay.showAlert());
}

TEST_F(Completion, WithoutAMailProgramTheStatusAlertSaysSo)
{
    overlay.setEmailAddress("anna@lab.org");
    overlay.send();
    EXPECT_FALSE(overlay.showAlert());
    composer.answer(false);
    EXPECT_FALSE(overlay.mailBusy());
    EXPECT_TRUE(composer.presented.isEmpty());
    EXPECT_TRUE(overlay.showAlert());
    overlay.dismissAlert();
    EXPECT_FALSE(overlay.showAlert());
    overlay.cancelEmail();
    EXPECT_EQ(overlay.emailAddress(), "");
}
