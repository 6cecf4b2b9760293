#include "editor/EditorFixture.h"
#include "editor/StepLabel.h"

#include <QSignalSpy>

namespace {

using StepView = EditorFixture;

} // namespace

TEST(StepLabelRules, SpacesBecomeUnderscoresOthersGoRunsCollapse)
{
    EXPECT_EQ(StepLabel::derived("Rest  period / 2"), "Rest_period_2");
    EXPECT_EQ(StepLabel::derived(" a "), "_a_");
    EXPECT_EQ(StepLabel::derived("my label!"), "my_label");
    EXPECT_EQ(StepLabel::derived("__x___y"), "_x_y");
    EXPECT_EQ(StepLabel::derived("Über straße ٣"), "Über_straße_٣");
    // Characters beyond the basic plane are judged whole, not by halves.
    EXPECT_EQ(StepLabel::derived("go 🚀 now"), "go_now");
    EXPECT_EQ(StepLabel::derived("𝐀1"), "𝐀1");
    EXPECT_EQ(StepLabel::derived("-.,"), "");
}

TEST_F(StepView, TypedLabelIsStoredInItsDerivedForm)
{
    open({step(1, "a", 0)});
    StepViewModel &detail = *editor.step();
    QSignalSpy shown(&detail, &StepViewModel::stepChanged);
    detail.setLabelID("my label!");
    EXPECT_EQ(document().steps().at(0).labelID, "my_label");
    EXPECT_EQ(detail.labelID(), "my_label");
    // A keystroke that derives to the stored label still resets the field.
    shown.clear();
    detail.setLabelID("my_label?");
    EXPECT_EQ(detail.labelID(), "my_label");
    EXPECT_GE(shown.count(), 1);
}

TEST_F(StepView, RenameMovesAnAutomaticLabelAndKeepsATypedOne)
{
    DeelTestje placeholder = step(1, "new_test", 0);
    DeelTestje derived = step(2, "Warm_up", 0);
    derived.name = "Warm up";
    DeelTestje typed = step(3, "mine", 0);
    open({placeholder, derived, typed});
    StepViewModel &detail = *editor.step();

    // Shown first, a placeholder label takes the title's label at once.
    EXPECT_EQ(detail.labelID(), "NEW_TEST");
    editor.rows().at(1)->select();
    document().setStep(0, placeholder);
    editor.rows().at(0)->select();
    EXPECT_EQ(detail.labelID(), "new_test");
    detail.setName("Rest period");
    EXPECT_EQ(detail.labelID(), "Rest_period");
    EXPECT_EQ(detail.lastAutoLabelSourceTitle(), "Rest period");

    editor.rows().at(1)->select();
    detail.setName("Warm up 2");
    EXPECT_EQ(document().steps().at(1).labelID, "Warm_up_2");

    editor.rows().at(2)->select();
    detail.setName("Something else");
    EXPECT_EQ(document().steps().at(2).name, "Something else");
    EXPECT_EQ(document().steps().at(2).labelID, "mine");
    EXPECT_EQ(detail.lastAutoLabelSourceTitle(), "Warm up 2");

    DeelTestje empty = step(4, "", 0);
    document().setSteps({empty});
    editor.rows().at(0)->select();
    detail.setName("Fresh");
    EXPECT_EQ(detail.labelID(), "Fresh");
}

TEST_F(StepView, DurationWheelsSetMinutesAndSecondsApart)
{
    open({step(1, "a", 90)});
    StepViewModel &detail = *editor.step();
    EXPECT_EQ(detail.minutes(), 1);
    EXPECT_EQ(detail.seconds(), 30);
    detail.setMinutes(2);
    EXPECT_EQ(document().steps().at(0).duration, 150);
    detail.setSeconds(5);
    EXPECT_EQ(detail.duration(), 125);
    detail.setMinutes(0);
    EXPECT_EQ(detail.duration(), 5);
    detail.setMinutes(1000);
    detail.setSeconds(60);
    EXPECT_EQ(detail.duration(), 240 * 60 + 59);
}

TEST_F(StepView, InstructionsFollowTheSelectedStep)
{
    DeelTestje first = step(1, "a", 0);
    first.description = "Breathe in";
    DeelTestje second = step(2, "b", 0);
    second.description = "Breathe out";
    open({first, second});
    StepViewModel &detail = *editor.step();
    EXPECT_EQ(detail.instructionsText(), "Breathe in");
    EXPECT_TRUE(detail.hasInitialized());

    detail.setInstructionsText("Breathe in slowly");
    EXPECT_EQ(document().steps().at(0).description, "Breathe in slowly");
    editor.rows().at(1)->select();
    EXPECT_EQ(detail.instructionsText(), "Breathe out");
    detail.setInstructionsText("Out");
    EXPECT_EQ(document().steps().at(1).description, "Out");
    EXPECT_EQ(document().steps().at(0).description, "Breathe in slowly");

    // Shown again after no step was shown: a fresh detail.
    editor.step()->deleteStep();
    EXPECT_FALSE(detail.hasInitialized());
    editor.rows().at(0)->select();
    EXPECT_EQ(detail.instructionsText(), "Breathe in slowly");
}
