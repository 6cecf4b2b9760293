#include "editor/EditorFixture.h"
#include "editor/OptionalViewChoices.h"

namespace {

using OptionalViews = EditorFixture;
using Parameters = QList<std::optional<QString>>;

QStringList viewNames(const DeelTestje &step)
{
    QStringList names;
    for (const OptionalViewSettings &view : step.views())
        names.append(view.ViewName);
    return names;
}

} // namespace

TEST(OptionalViewOffer, ElevenViewsWithTheirQuestions)
{
    const QStringList offered = OptionalViewChoices::availableOptionalViews();
    ASSERT_EQ(offered.size(), 11);
    EXPECT_EQ(offered.first(), "Climbing");
    EXPECT_EQ(offered.last(), "Text (drone side)");
    EXPECT_FALSE(offered.contains("Exercises"));

    EXPECT_TRUE(OptionalViewChoices::parameterKeys("Timer (drone side)").isEmpty());
    EXPECT_TRUE(OptionalViewChoices::parameterKeys("Exercises").isEmpty());
    EXPECT_EQ(OptionalViewChoices::parameterKeys("Slider (drone side)"), QStringList{"value"});
    EXPECT_EQ(OptionalViewChoices::parameterKeys("Video (drone side)"),
              QStringList({"videoLink", "showButtons", "autoStartPlaying", "autoContinue"}));

    const QStringList sums = OptionalViewChoices::choices("Arithmetic tasks", "value");
    ASSERT_EQ(sums.size(), 11);
    EXPECT_EQ(sums.at(1), "TTR_addition_problems_2.txt");
    EXPECT_EQ(sums.at(9), "TTR_addition_problems_10.txt");
    EXPECT_EQ(OptionalViewChoices::prompt("Arithmetic tasks", "value"), "Choose the set of calculations");
    EXPECT_EQ(OptionalViewChoices::choices("Breathing (drone side)", "value"), QStringList({"Slow", "Normal", "Fast"}));
    EXPECT_TRUE(OptionalViewChoices::choices("Text (drone side)", "value").isEmpty());
    EXPECT_EQ(OptionalViewChoices::prompt("Text (drone side)", "value"), "Text to be displayed");
    EXPECT_EQ(OptionalViewChoices::prompt("Video (drone side)", "autoContinue"),
              "Do you want the app to continue automatically?");
    EXPECT_EQ(OptionalViewChoices::choices("Video (drone side)", "showButtons"), QStringList({"yes", "no"}));
    EXPECT_EQ(OptionalViewChoices::choices("Video (drone side)", "videoLink").size(), 6);
    EXPECT_EQ(OptionalViewChoices::prompt("Climbing", "value"), "");
}

TEST_F(OptionalViews, LoadStagesTheStepsViewsWithDefaults)
{
    open({step(1, "a", 0,
               {{"Video (drone side)", {QStringLiteral("33.mp4"), QStringLiteral("yes")}},
                {"Text (drone side)", {std::nullopt}},
                {"Timer (drone side)", {}},
                {"Exercises", {QStringLiteral("warmup.json")}}})});
    StepViewModel &detail = *editor.step();
    EXPECT_EQ(detail.stagedSelection(),
              (QSet<QString>{"Video (drone side)", "Text (drone side)", "Timer (drone side)", "Exercises"}));
    EXPECT_EQ(detail.stagedSelectionList(),
              QStringList({"Timer (drone side)", "Video (drone side)", "Text (drone side)"}));
    EXPECT_EQ(detail.stagedParams().value("Video (drone side)"),
              (OptionalViewChoices::Staged{{"videoLink", "33.mp4"},
                                           {"showButtons", "yes"},
                                           {"autoStartPlaying", "no"},
                                           {"autoContinue", "no"}}));
    EXPECT_EQ(detail.stagedParams().value("Text (drone side)"), (OptionalViewChoices::Staged{{"value", ""}}));
    EXPECT_FALSE(detail.stagedParams().contains("Timer (drone side)"));
    EXPECT_FALSE(detail.stagedParams().contains("Exercises"));
    EXPECT_EQ(detail.stagedParamsMap().value("Video (drone side)").toMap().value("showButtons"), "yes");
    // Loading alone leaves the step as it was.
    EXPECT_EQ(viewNames(document().steps().at(0)),
              QStringList({"Video (drone side)", "Text (drone side)", "Timer (drone side)", "Exercises"}));
    EXPECT_FALSE(editor.hasUnsavedChanges());
}

TEST_F(OptionalViews, AnyTouchRewritesTheListInOfferedOrder)
{
    open({step(1, "a", 0,
               {{"Text (drone side)", {QStringLiteral("Hello")}},
                {"Timer (drone side)", {}},
                {"Exercises", {QStringLiteral("warmup.json")}}}),
          step(2, "b", 0, {{"Text (drone side)", {QStringLiteral("Bye")}}, {"Timer (drone side)", {}}})});
    StepViewModel &detail = *editor.step();

    detail.setViewSelected("Text (drone side)", true); // already on: no change
    EXPECT_EQ(viewNames(document().steps().at(0)).size(), 3);

    detail.setViewSelected("Climbing", true);
    const DeelTestje first = document().steps().at(0);
    ASSERT_EQ(viewNames(first), QStringList({"Climbing", "Timer (drone side)", "Text (drone side)"}));
    EXPECT_EQ(first.views().at(0).Parameters, Parameters{});
    EXPECT_EQ(first.views().at(2).Parameters, Parameters{QStringLiteral("Hello")});
    EXPECT_TRUE(editor.hasUnsavedChanges());
    EXPECT_EQ(viewNames(document().steps().at(1)), QStringList({"Text (drone side)", "Timer (drone side)"}));

    // The next step's switches are its own.
    editor.rows().at(1)->select();
    EXPECT_EQ(detail.stagedSelectionList(), QStringList({"Timer (drone side)", "Text (drone side)"}));
    detail.setParameter("Text (drone side)", "value", "Goodbye");
    EXPECT_EQ(document().steps().at(1).views().at(1).Parameters, Parameters{QStringLiteral("Goodbye")});
    EXPECT_EQ(viewNames(document().steps().at(1)), QStringList({"Timer (drone side)", "Text (drone side)"}));
}

TEST_F(OptionalViews, ParametersAreWrittenByKind)
{
    open({step(1, "a", 0)});
    StepViewModel &detail = *editor.step();
    detail.setViewSelected("Breathing (drone side)", true);
    detail.setViewSelected("Video (drone side)", true);
    ASSERT_EQ(document().steps().at(0).views().size(), 2);
    EXPECT_EQ(document().steps().at(0).views().at(0).Parameters, Parameters{QString()});
    EXPECT_EQ(document().steps().at(0).views().at(1).Parameters,
              (Parameters{QString(), QStringLiteral("no"), QStringLiteral("no"), QStringLiteral("no")}));

    detail.setParameter("Breathing (drone side)", "value", "Slow");
    detail.setParameter("Video (drone side)", "videoLink", "06.mp4");
    detail.setParameter("Video (drone side)", "autoContinue", "yes");
    detail.setParameter("Video (drone side)", "nonsense", "yes");
    EXPECT_EQ(document().steps().at(0).views().at(0).Parameters, Parameters{QStringLiteral("Slow")});
    EXPECT_EQ(document().steps().at(0).views().at(1).Parameters,
              (Parameters{QStringLiteral("06.mp4"), QStringLiteral("no"), QStringLiteral("no"), QStringLiteral("yes")}));

    // Switched off and on again, a view gets back what was staged for it.
    detail.setViewSelected("Video (drone side)", false);
    detail.setViewSelected("Breathing (drone side)", false);
    EXPECT_EQ(document().steps().at(0).optionalViews, QList<OptionalViewSettings>{});
    detail.setViewSelected("Breathing (drone side)", true);
    EXPECT_EQ(document().steps().at(0).views().at(0).Parameters, Parameters{QStringLiteral("Slow")});
}
