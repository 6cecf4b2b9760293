#include "run/RunFixture.h"

#include "bridge/BloodPersureView.h"
#include "drone/DroneEndpoint.h"
#include "drone/DroneFixture.h"
#include "drone/OptionalView.h"
#include "drone/SliderView.h"
#include "drone/TimerView.h"
#include "drone/VideoView.h"
#include "tasks/HapticFeedback.h"

namespace {

// The timekeeper's views that send states to the drone.
class DroneViews : public RunFixture
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

TEST_F(DroneViews, TimerSendsOneLessThanTheClockAndOnlyOnJumps)
{
    useSteps({step(1, "a", 60), step(2, "b", 0), step(3, "c", 20)});
    startAt();
    TimerView timer(controller, session);
    timer.appeared();
    controller.sendCurrentStepState();
    EXPECT_EQ(sent, (QStringList{"timer: 59", "black"}));
    sent.clear();
    ticks(5);
    EXPECT_TRUE(sent.isEmpty()) << "the ordinary countdown sends nothing";
    controller.setRemainingTime(50);
    EXPECT_EQ(sent, QStringList{"timer: 49"}) << "a jump corrects the drone";
    sent.clear();
    advanceAndSettle();
    EXPECT_TRUE(sent.isEmpty()) << "a view whose step is over sends nothing";
    TimerView untimed(controller, session); // an untimed step: black
    untimed.appeared();
    EXPECT_EQ(sent, QStringList{"black"});
}

TEST_F(DroneViews, SliderWaitsForADroneAndItsRatingReachesTheLabelFile)
{
    useSteps({step(1, "rate", 0, {{"Slider (drone side)", {QString("How calm?")}}})});
    startAt();
    {
        SliderView alone(controller, session, "How calm?");
        alone.appeared();
        EXPECT_EQ(alone.displayText(), "Waiting for connection");
        EXPECT_FALSE(alone.hasRequestedSlider());
        EXPECT_EQ(sent, QStringList{});
    }
    DroneEndpoint drone("drone");
    drone.start();
    discover(session);
    ASSERT_TRUE(waitFor([&] { return session.isConnected(); }));
    drone.sendSlider(3); // a rating before any question
    ASSERT_TRUE(waitFor([&] { return session.receivedMessage() == "Slider value is: 3"; }));
    SliderView slider(controller, session, "How calm?");
    slider.appeared();
    EXPECT_EQ(sent.last(), "slider: How calm?");
    EXPECT_EQ(slider.displayText(), "Waiting for Score") << "a stale rating is not taken for the answer";
    ASSERT_TRUE(waitFor([&] { return drone.payload() == "slider: How calm?"; }));

    const auto ratings = [&] { return logLines().filter("How calm?"); };
    const auto dropped = [&] { return console.lines().filter("SliderView: dropped").size(); };
    clock->advanceMs(2500);
    drone.sendSlider(7);
    ASSERT_TRUE(waitFor([&] { return slider.hasReceivedSliderValue(); }));
    EXPECT_TRUE(controller.sliderValueReceivedAndDisplayed());
    EXPECT_EQ(slider.displayText(), " 7");
    EXPECT_EQ(ratings(), QStringList{"05-12-26/10:00:02.500\t How calm? 7"});

    // Answered once; a pause takes the question off the drone's screen.
    drone.sendSlider(8);
    ASSERT_TRUE(waitFor([&] { return dropped() == 1; }));
    controller.togglePause();
    drone.sendSlider(5);
    ASSERT_TRUE(waitFor([&] { return dropped() == 2; }));
    controller.togglePause(); // asked again, and the rating given still stands
    EXPECT_EQ(sent.mid(sent.size() - 2), (QStringList{"resume", "slider: How calm?"}));
    EXPECT_TRUE(controller.sliderValueReceivedAndDisplayed()) << "no warning for a step that has its rating";
    for (const QByteArray &forged : {QByteArray("@Slider value is: 9\n05-12-26/10:00:00.000\tb (2) started"),
                                     QByteArray("@Slider value is: 11"), QByteArray("@Slider value is: -1"),
                                     QByteArray("@Slider value is: 4.5")})
        drone.sendRaw(forged);
    drone.sendSlider(4);
    ASSERT_TRUE(waitFor([&] { return ratings().size() == 2; }));
    EXPECT_EQ(ratings().last(), "05-12-26/10:00:02.500\t How calm? 4") << "the answer to the question asked again";
    EXPECT_EQ(slider.displayText(), " 4");
    EXPECT_EQ(dropped(), 6);

    slider.disappeared();
    EXPECT_EQ(session.receivedMessage(), "");
    EXPECT_FALSE(slider.hasRequestedSlider());
}

TEST_F(DroneViews, ViewsAreChosenByExactNameWithTheirDefaults)
{
    EXPECT_EQ(SingleOptionalView::kindOf("Text (drone side) "), SingleOptionalView::Kind::Invalid);

    useSteps({step(1, "a", 30, {{"Text (drone side)", {}}, {"Video (drone side)", P{QString("clip"), QString("Yes")}},
                                {"exercises", {}}, {"Blood pressure monitoring (timekeeper side)", {}},
                                {"Images (drone side)", P{QString("faces.txt")}}})});
    startAt();
    sent.clear();
    OptionalView list(controller, session, haptics);
    EXPECT_TRUE(list.views().isEmpty()) << "built when shown";
    list.appeared();
    ASSERT_EQ(list.views().size(), 5);
    ASSERT_NE(qobject_cast<BloodPersureView *>(list.views().at(3)->viewModel()), nullptr);
    EXPECT_EQ(list.views().at(2)->errorText(), "Invalid OptionalView: 'exercises'");
    EXPECT_FALSE(qobject_cast<VideoView *>(list.views().at(1)->viewModel())->showButtons()) << "Yes is not yes";
    EXPECT_EQ(sent, (QStringList{"text: no text was inputted on the timekeeper side", "video: clip, true, false, false",
                                 "black", "images: faces.txt"}))
        << "the blood-pressure step sends nothing";
}

TEST_F(DroneViews, StepsWithoutViewsSendBlackAndNewStepsTheirOwnStates)
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
    advanceAndSettle(true);
    EXPECT_EQ(sent, (QStringList{"black", "black", "timer: 29", "black"})) << "no timer for the step after it";
    controller.togglePause();
    controller.previousStep();
    QCoreApplication::processEvents();
    EXPECT_EQ(sent.mid(4), QStringList{"pause"}) << "while paused a step change sends nothing";
}
