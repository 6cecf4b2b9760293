#include "run/RunFixture.h"

#include "report/CompletionOverlay.h"

namespace {

// Stands in for the desktop's mail program.
class RecordingComposer : public MailComposer
{
public:
    bool canSendMail() const override { return available; }
    void present(const MailComposeView &mail, const std::function<void()> &finished) override
    {
        presented.append(mail);
        finished();
    }
    bool available = true;
    QList<MailComposeView> presented;
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
    EXPECT_EQ(overlay.sendColor(), "#dbdeff");
    overlay.setEmailAddress("anna@lab");
    overlay.send();
    EXPECT_TRUE(overlay.showEmailDialog()) << "an invalid address sends nothing";
    EXPECT_TRUE(composer.presented.isEmpty());
    EXPECT_EQ(sound.played, QList<int>({1000, 1303})) << "the sound plays in every case";

    overlay.setEmailAddress("anna@lab.org");
    EXPECT_EQ(overlay.sendColor(), "#8991f5");
    overlay.send();
    EXPECT_FALSE(overlay.showEmailDialog());
    ASSERT_EQ(composer.presented.size(), 1);
    const MailComposeView &mail = composer.presented.first();
    EXPECT_EQ(mail.recipients, QStringList{"anna@lab.org"});
    EXPECT_EQ(mail.attachmentFileName, "Stress_1234_1_20261205_100000.lbl");
    EXPECT_EQ(mail.attachmentData, documents.read("Label_files/Stress/Stress_1234_1_20261205_100000.lbl"));
}

TEST_F(Completion, WithoutAMailProgramTheStatusAlertSaysSo)
{
    composer.available = false;
    overlay.setEmailAddress("anna@lab.org");
    overlay.send();
    EXPECT_TRUE(overlay.showAlert());
    EXPECT_EQ(overlay.alertMessage(), "Mail services are not available on this device. Please configure Mail app first.");
    overlay.dismissAlert();
    EXPECT_FALSE(overlay.showAlert());
    overlay.cancelEmail();
    EXPECT_EQ(overlay.emailAddress(), "");
}
