#include "run/RunFixture.h"

#include "bridge/BloodPersureView.h"
#include "drone/OptionalView.h"
#include "drone/TextView.h"
#include "drone/VideoView.h"
#include "tasks/HapticFeedback.h"

#include <QCoreApplication>

namespace {

class OptionalViews : public RunFixture
{
protected:
    void advanceAndSettle(bool skipLog = false)
    {
        controller.advance(skipLog);
        QCoreApplication::processEvents();
    }
    HapticFeedback haptics;
};

using P = QList<std::optional<QString>>;

} // namespace

TEST_F(OptionalViews, ViewsAreChosenByExactNameWithTheirDefaults)
{
    EXPECT_EQ(SingleOptionalView::kindOf("Exercises"), SingleOptionalView::Kind::Exercises);
    EXPECT_EQ(SingleOptionalView::kindOf("exercises"), SingleOptionalView::Kind::Invalid);
    EXPECT_EQ(SingleOptionalView::kindOf("Text (drone side) "), SingleOptionalView::Kind::Invalid);

    useSteps({step(1, "a", 30, {{"Text (drone side)", {}}, {"Video (drone side)", P{QString("clip"), QString("Yes")}},
                                {"exercises", {}}, {"Blood pressure monitoring (timekeeper side)", {}}})});
    startAt();
    sent.clear();
    OptionalView list(controller, session, haptics);
    EXPECT_TRUE(list.views().isEmpty()) << "built when shown";
    list.appeared();
    ASSERT_EQ(list.views().size(), 4);
    ASSERT_NE(qobject_cast<BloodPersureView *>(list.views().at(3)->viewModel()), nullptr);
    EXPECT_EQ(list.views().at(2)->errorText(), "Invalid OptionalView: 'exercises'");
    EXPECT_FALSE(qobject_cast<VideoView *>(list.views().at(1)->viewModel())->showButtons()) << "Yes is not yes";
    EXPECT_EQ(sent, (QStringList{"text: no text was inputted on the timekeeper side", "video: clip, true, false, false",
                                 "black"}))
        << "the blood-pressure step sends nothing";
}

TEST_F(OptionalViews, StepsWithoutViewsSendBlackAndNewStepsTheirOwnStates)
{
    useSteps({step(1, "a", 30), step(2, "b", 30), step(3, "c", 30, {{"Timer (drone side)", {}}}), step(4, "d", 10)});
    startAt();
    sent.clear();
    OptionalView list(controller, session, haptics);
    list.appeared();
    EXPECT_EQ(sent, QStringList{"black"});
    advanceAndSettle();
    EXPECT_EQ(sent, (QStringList{"black", "black"})) << "two steps without views: black each time";
    advanceAndSettle();
    EXPECT_EQ(sent.last(), "timer: 29") << "the new step's timer view sends once";
    EXPECT_EQ(sent.size(), 3);
    controller.togglePause();
    sent.clear();
    advanceAndSettle(true);
    EXPECT_EQ(sent, QStringList{}) << "while paused a step change sends nothing";
}
