#include "editor/EditorFixture.h"
#include "editor/OptionalViewChoices.h"
#include "editor/StepLabel.h"

#include <QSignalSpy>

namespace {

using StepView = EditorFixture;
using OptionalViews = EditorFixture;
using Parameters = QList<std::optional<QString>>;
const QString video = QStringLiteral("Video (drone side)"), text = QStringLiteral("Text (drone side)"),
              timer = QStringLiteral("Timer (drone side)"), breathing = QStringLiteral("Breathing (drone side)");

QStringList viewNames(const DeelTestje &step)
{
    QStringList names;
    for (const OptionalViewSettings &view : step.views())
        names.append(view.ViewName);
    return names;
}

} // namespace

TEST(StepLabelRules, SpacesBecomeUnderscoresOthersGoRunsCollapse)
{
    // Characters beyond the basic plane are judged whole, not by halves.
    for (const auto &[typed, label] : std::initializer_list<std::pair<const char *, const char *>>{
             {"Rest  period / 2", "Rest_period_2"}, {" a ", "_a_"}, {"my label!", "my_label"}, {"__x___y", "_x_y"},
             {"Über straße ٣", "Über_straße_٣"}, {"go 🚀 now", "go_now"}, {"𝐀1", "𝐀1"}, {"-.,", ""}})
        EXPECT_EQ(StepLabel::derived(QString::fromUtf8(typed)), QString::fromUtf8(label)) << typed;
}

TEST_F(StepView, RenameMovesAnAutomaticLabelTypedOnesStayAndAreStoredDerived)
{
    DeelTestje placeholder = step(1, "new_test", 0);
    DeelTestje derived = step(2, "Warm_up", 0);
    derived.name = "Warm up";
    open({placeholder, derived, step(3, "mine", 0)});
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

    document().setSteps({step(4, "", 0)});
    editor.rows().at(0)->select();
    detail.setName("Fresh");
    EXPECT_EQ(detail.labelID(), "Fresh");

    // A typed label is stored in its derived form; a keystroke that derives to it still resets the field.
    QSignalSpy shown(&detail, &StepViewModel::stepChanged);
    detail.setLabelID("my label!");
    EXPECT_EQ(document().steps().at(0).labelID, "my_label");
    shown.clear();
    detail.setLabelID("my_label?");
    EXPECT_EQ(detail.labelID(), "my_label");
    EXPECT_EQ(shown.count(), 1);
}

TEST_F(StepView, TheDetailFollowsTheSelectedStep)
{
    open({step(1, "a", 90), step(2, "b", 0)});
    StepViewModel &detail = *editor.step();
    EXPECT_EQ(detail.minutes(), 1);
    EXPECT_EQ(detail.seconds(), 30);
    detail.setSeconds(5);
    detail.setMinutes(0);
    EXPECT_EQ(document().steps().at(0).duration, 5) << "minutes and seconds are set apart";
    detail.setMinutes(1000);
    detail.setSeconds(60);
    EXPECT_EQ(detail.duration(), 240 * 60 + 59);

    EXPECT_EQ(detail.instructionsText(), "A description");
    EXPECT_TRUE(detail.hasInitialized());
    detail.setInstructionsText("Breathe in");
    editor.rows().at(1)->select();
    EXPECT_EQ(detail.instructionsText(), "B description");
    detail.setInstructionsText("Out");
    EXPECT_EQ(document().steps().at(1).description, "Out");
    EXPECT_EQ(document().steps().at(0).description, "Breathe in");

    // Shown again after no step was shown: a fresh detail.
    editor.step()->deleteStep();
    EXPECT_FALSE(detail.hasInitialized());
    editor.rows().at(0)->select();
    EXPECT_EQ(detail.instructionsText(), "Breathe in");
}

TEST_F(OptionalViews, StagedOnLoadRewrittenInOfferedOrderOnTouchAndWrittenByKind)
{
    open({step(1, "a", 0, {{video, {QStringLiteral("33.mp4"), QStringLiteral("yes")}}, {text, {std::nullopt}},
                           {timer, {}}, {"Exercises", {QStringLiteral("warmup.json")}}}),
          step(2, "b", 0, {{text, {QStringLiteral("Bye")}}, {timer, {}}}), step(3, "c", 0)});
    StepViewModel &detail = *editor.step();
    // "Exercises" is kept but not offered, so not shown as selected.
    EXPECT_EQ(detail.stagedSelectionList(), QStringList({timer, video, text}));
    EXPECT_EQ(detail.stagedParams().value(video), (OptionalViewChoices::Staged{{"videoLink", "33.mp4"},
                                                                               {"showButtons", "yes"},
                                                                               {"autoStartPlaying", "no"},
                                                                               {"autoContinue", "no"}}));
    EXPECT_EQ(detail.stagedParams().value(text), (OptionalViewChoices::Staged{{"value", ""}}));
    EXPECT_FALSE(detail.stagedParams().contains(timer));
    detail.setViewSelected(text, true); // already on: no change
    EXPECT_EQ(viewNames(document().steps().at(0)), QStringList({video, text, timer, "Exercises"}))
        << "loading alone leaves the step as it was";
    EXPECT_FALSE(editor.hasUnsavedChanges());

    detail.setViewSelected("Climbing", true);
    const DeelTestje first = document().steps().at(0);
    ASSERT_EQ(viewNames(first), QStringList({"Climbing", timer, video, text}));
    EXPECT_EQ(first.views().at(0).Parameters, Parameters{});
    EXPECT_EQ(first.views().at(2).Parameters,
              (Parameters{QStringLiteral("33.mp4"), QStringLiteral("yes"), QStringLiteral("no"), QStringLiteral("no")}));
    EXPECT_TRUE(editor.hasUnsavedChanges());
    EXPECT_EQ(viewNames(document().steps().at(1)), QStringList({text, timer}));

    // The next step's switches are its own.
    editor.rows().at(1)->select();
    EXPECT_EQ(detail.stagedSelectionList(), QStringList({timer, text}));
    detail.setParameter(text, "value", "Goodbye");
    EXPECT_EQ(document().steps().at(1).views().at(1).Parameters, Parameters{QStringLiteral("Goodbye")});
    EXPECT_EQ(viewNames(document().steps().at(1)), QStringList({timer, text}));

    // A step without views: each kind gets its own parameters.
    editor.rows().at(2)->select();
    const auto parameters = [&](int view) { return document().steps().at(2).views().at(view).Parameters; };
    detail.setViewSelected(breathing, true);
    detail.setViewSelected(video, true);
    detail.setParameter(breathing, "value", "Slow");
    detail.setParameter(video, "videoLink", "06.mp4");
    detail.setParameter(video, "autoContinue", "yes");
    detail.setParameter(video, "nonsense", "yes");
    EXPECT_EQ(parameters(0), Parameters{QStringLiteral("Slow")});
    EXPECT_EQ(parameters(1),
              (Parameters{QStringLiteral("06.mp4"), QStringLiteral("no"), QStringLiteral("no"), QStringLiteral("yes")}));

    // Switched off and on again, a view gets back what was staged for it.
    detail.setViewSelected(video, false);
    detail.setViewSelected(breathing, false);
    EXPECT_EQ(document().steps().at(2).optionalViews, QList<OptionalViewSettings>{});
    detail.setViewSelected(breathing, true);
    EXPECT_EQ(parameters(0), Parameters{QStringLiteral("Slow")});
}
