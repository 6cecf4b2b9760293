#include "drone/DroneEndpoint.h"
#include "drone/DroneFixture.h"
#include "drone/DroneScreen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

// The drone's screen on a real endpoint; states come in as the timekeeper sends them.
class DroneScreens : public DroneFixture
{
protected:
    void state(const QString &payload)
    {
        endpoint.handleMessage(QStringLiteral("@State: seq:%1|%2").arg(++sequence).arg(payload).toUtf8());
    }
    void resend(const QString &payload)
    {
        endpoint.handleMessage(QStringLiteral("@State: seq:%1|%2").arg(sequence).arg(payload).toUtf8());
    }
    void ticks(DroneCountdown &countdown, int n)
    {
        for (int i = 0; i < n; ++i)
            countdown.tick();
    }

    DroneEndpoint endpoint{QStringLiteral("drone")};
    DroneScreen screen{endpoint};
    qint64 sequence = 0;
};

} // namespace

TEST_F(DroneScreens, BlackUntilTheFirstStateAndAfterBlack)
{
    EXPECT_EQ(screen.kind(), "black");
    EXPECT_EQ(screen.statusText(), "Waiting for the timekeeper");
    state("text: hello");
    EXPECT_EQ(screen.kind(), "text");
    EXPECT_EQ(screen.title(), "hello");
    state("black");
    EXPECT_EQ(screen.kind(), "black");
    EXPECT_EQ(screen.title(), "");
    EXPECT_EQ(screen.digits(), "");
}

TEST_F(DroneScreens, UnknownStatesAreLoggedAndShowNothing)
{
    state("timer: 30");
    for (const QString payload : {"wobble", "timer: soon", "breathing: 1, 2", "video: clip.mp4", "<b>Alarm</b>"}) {
        console.clear();
        state(payload);
        EXPECT_EQ(screen.kind(), "black") << payload.toStdString();
        EXPECT_EQ(screen.title(), "");
        EXPECT_EQ(screen.digits(), "");
        EXPECT_FALSE(screen.paused());
        EXPECT_TRUE(console.contains("Unknown state, showing black: '" + payload + "'")) << payload.toStdString();
    }
    EXPECT_FALSE(screen.countdown().isRunning()) << "the countdown it replaced is gone";
}

TEST_F(DroneScreens, AResendThatArrivesAfterANewerStateIsNotShown)
{
    state("timer: 30");
    state("text: newer");
    endpoint.handleMessage("@State: seq:1|timer: 30");
    EXPECT_EQ(screen.kind(), "text");
    EXPECT_EQ(screen.title(), "newer");
    EXPECT_FALSE(screen.countdown().isRunning());
}

TEST_F(DroneScreens, CountdownRunsBetweenMessagesAndEachNewStateResetsIt)
{
    state("timer: 3");
    EXPECT_EQ(screen.kind(), "timer");
    EXPECT_EQ(screen.digits(), "00:03");
    EXPECT_TRUE(screen.countdown().isRunning());
    ticks(screen.countdown(), 1);
    EXPECT_EQ(screen.digits(), "00:02");
    resend("timer: 3");
    EXPECT_EQ(screen.digits(), "00:02") << "a resend of the same state changes nothing";
    state("timer: 3");
    EXPECT_EQ(screen.digits(), "00:03") << "the same payload in a new state starts again";
    ticks(screen.countdown(), 5);
    EXPECT_EQ(screen.digits(), "00:00") << "it stops at zero";
    EXPECT_FALSE(screen.countdown().isRunning());

    state("climbing: 125");
    EXPECT_EQ(screen.kind(), "climbing");
    EXPECT_EQ(screen.title(), "Time remaining");
    EXPECT_EQ(screen.digits(), "02:05");
    state("timer: -4");
    EXPECT_EQ(screen.digits(), "00:00");
    EXPECT_FALSE(screen.countdown().isRunning());
}

TEST_F(DroneScreens, CountdownTicksByItselfOnTheClock)
{
    state("timer: 10");
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.digits() == "00:09"; }, 3000));
    EXPECT_GE(elapsed.elapsed(), 900);
    EXPECT_LE(elapsed.elapsed(), 1500);
}

TEST_F(DroneScreens, PauseHoldsTheViewAndResumeGoesOn)
{
    state("timer: 20");
    ticks(screen.countdown(), 2);
    QSignalSpy changes(&screen, &DroneScreen::changed);
    state("pause");
    EXPECT_TRUE(screen.paused());
    EXPECT_EQ(screen.kind(), "timer") << "the view stays under the cover";
    EXPECT_EQ(screen.pausedText(), "Paused");
    EXPECT_FALSE(screen.countdown().isRunning());
    ticks(screen.countdown(), 3);
    EXPECT_EQ(screen.digits(), "00:18") << "held while paused";
    state("pause"); // the current state again, while paused
    EXPECT_TRUE(screen.paused());
    state("resume");
    EXPECT_FALSE(screen.paused());
    EXPECT_TRUE(screen.countdown().isRunning());
    EXPECT_GT(changes.count(), 0);
    state("timer: 20");
    EXPECT_EQ(screen.digits(), "00:20") << "after a resume the timekeeper's time counts";
    state("resume");
    EXPECT_EQ(screen.kind(), "timer") << "a resume without a pause changes nothing";
    EXPECT_EQ(screen.digits(), "00:20");
}

TEST_F(DroneScreens, AStateWhilePausedEndsThePause)
{
    state("climbing: 60");
    state("pause");
    state("fall");
    EXPECT_FALSE(screen.paused());
    EXPECT_EQ(screen.kind(), "fall");
    EXPECT_TRUE(screen.recovery().isRunning());
    EXPECT_TRUE(screen.countdown().isRunning());
}

TEST_F(DroneScreens, AfterAResumeTheSameStateGoesOnWhereItWas)
{
    state("slider: How calm?");
    screen.slider()->setValue(8);
    state("pause");
    state("resume");
    state("slider: How calm?");
    EXPECT_EQ(screen.slider()->value(), 8) << "the participant's choice survives the pause";
    state("slider: How calm?");
    EXPECT_EQ(screen.slider()->value(), DroneSlider::startValue) << "the next step asks again";

    state("video: /films/a.mp4, false, false, false");
    screen.video()->play();
    state("pause");
    EXPECT_FALSE(screen.video()->playing());
    state("resume");
    EXPECT_TRUE(screen.video()->playing());
    state("video: /films/a.mp4, false, false, false");
    EXPECT_TRUE(screen.video()->playing()) << "not started again from the beginning";
}

TEST_F(DroneScreens, ExerciseNameAndSeconds)
{
    state("exercise: Squats - 3s");
    EXPECT_EQ(screen.kind(), "exercise");
    EXPECT_EQ(screen.title(), "Squats");
    EXPECT_EQ(screen.digits(), "00:03");
    state("exercise: Squats");
    EXPECT_EQ(screen.digits(), "00:03") << "the name alone keeps the seconds of the same exercise";
    state("exercise: Squats - 2s");
    EXPECT_EQ(screen.digits(), "00:02");
    state("exercise: Lunges");
    EXPECT_EQ(screen.title(), "Lunges");
    EXPECT_EQ(screen.digits(), "") << "a new exercise without time shows none";
    state("exercises completed");
    EXPECT_EQ(screen.kind(), "exercisesCompleted");
    EXPECT_EQ(screen.title(), "Exercises completed");
    state("done");
    EXPECT_EQ(screen.kind(), "done");
    EXPECT_EQ(screen.title(), "Done");
    EXPECT_EQ(screen.detail(), "Thank you");
}

TEST_F(DroneScreens, AFallRestsAndThenTheClimbingTimeComesBack)
{
    state("climbing: 90");
    state("fall");
    EXPECT_EQ(screen.kind(), "fall");
    EXPECT_EQ(screen.title(), "You can restart in");
    EXPECT_EQ(screen.digits(), "00:50");
    ticks(screen.countdown(), 10);
    ticks(screen.recovery(), 49);
    EXPECT_EQ(screen.digits(), "00:01");
    ticks(screen.recovery(), 1);
    EXPECT_EQ(screen.kind(), "climbing");
    EXPECT_EQ(screen.digits(), "01:20") << "the climbing time went on during the rest";

    state("text: rest");
    state("fall");
    ticks(screen.recovery(), 50);
    EXPECT_EQ(screen.kind(), "black") << "without a climbing time the screen goes black";
}

TEST_F(DroneScreens, BreathingPacerPhasesFromTheFourNumbers)
{
    using Phase = BreathingPacer::Phase;
    using Step = BreathingPacer::Step;
    EXPECT_EQ(BreathingPacer::steps({3.75, 0.0, 3.75, 0.0}),
              (QList<Step>{{Phase::breatheIn, 3750}, {Phase::breatheOut, 3750}}));
    EXPECT_EQ(BreathingPacer::steps({4, 2, 6, 1}), (QList<Step>{{Phase::breatheIn, 4000}, {Phase::holdIn, 2000},
                                                                {Phase::breatheOut, 6000}, {Phase::holdOut, 1000}}));
    EXPECT_EQ(BreathingPacer::steps({1.8, 0.0, 1.8, 0.0}).first().ms, 1800);

    state("breathing: 4, 2, 6, 1");
    EXPECT_EQ(screen.kind(), "breathing");
    BreathingPacer &pacer = *screen.pacer();
    EXPECT_EQ(pacer.phaseText(), "Breathe in");
    EXPECT_EQ(pacer.phaseMs(), 4000);
    EXPECT_TRUE(pacer.expanded());
    pacer.advance();
    EXPECT_EQ(pacer.phaseText(), "Hold");
    EXPECT_TRUE(pacer.expanded()) << "holding with full lungs";
    pacer.advance();
    EXPECT_EQ(pacer.phaseText(), "Breathe out");
    EXPECT_FALSE(pacer.expanded());
    pacer.advance();
    EXPECT_EQ(pacer.phase(), Phase::holdOut);
    pacer.advance();
    EXPECT_EQ(pacer.phase(), Phase::breatheIn) << "round and round";

    state("black");
    EXPECT_EQ(pacer.phaseText(), "") << "stopped when another view shows";
}

TEST_F(DroneScreens, BreathingPacerChangesPhaseByItselfAndHoldsWhilePaused)
{
    state("breathing: 0.3, 0.0, 0.3, 0.0");
    BreathingPacer &pacer = *screen.pacer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pacer.phase() == BreathingPacer::Phase::breatheOut; }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pacer.phase() == BreathingPacer::Phase::breatheIn; }, 2000));
    state("pause");
    QTest::qWait(700);
    EXPECT_EQ(pacer.phase(), BreathingPacer::Phase::breatheIn) << "held while paused";
    state("resume");
    EXPECT_TRUE(QTest::qWaitFor([&] { return pacer.phase() == BreathingPacer::Phase::breatheOut; }, 2000));
}

TEST_F(DroneScreens, ImageSetIsFoundLikeTheTimekeepersLists)
{
    state("images: images.txt");
    EXPECT_EQ(screen.kind(), "images");
    EXPECT_EQ(screen.imageSources(), (QStringList{"qrc:/images/sun.png", "qrc:/images/tree.png",
                                                  "qrc:/images/waves.png", "qrc:/images/house.png"}));
    EXPECT_EQ(screen.problem(), "");

    documents.write("faces.txt", "# faces\nnobody.png\nimages/sun.png\n");
    state("images: faces.txt");
    EXPECT_EQ(screen.imageSources(), QStringList{"qrc:/images/sun.png"});
    EXPECT_EQ(screen.problem(), "Missing images: nobody.png");
    EXPECT_TRUE(console.contains("Image set faces.txt: Missing images: nobody.png"));
    state("images: none.txt");
    EXPECT_TRUE(screen.imageSources().isEmpty());
    EXPECT_EQ(screen.problem(), "Missing image list file: none.txt");
}

TEST_F(DroneScreens, VideoHonoursItsThreeFlags)
{
    documents.write("clip.mp4", "not really a film");
    DroneVideo &video = *screen.video();
    state("video: clip.mp4, false, true, true");
    EXPECT_EQ(screen.kind(), "video");
    EXPECT_EQ(video.source(), QUrl::fromLocalFile(documents.filePath("clip.mp4")));
    EXPECT_TRUE(video.controlsShown()) << "f1 false: the buttons show";
    EXPECT_TRUE(video.playing()) << "f2 true: it starts by itself";
    video.playbackEnded();
    EXPECT_EQ(screen.kind(), "black") << "f3 true: the step goes on without the video";

    state("video: clip.mp4, false, false, false");
    EXPECT_FALSE(video.playing()) << "waits for the participant";
    video.play();
    EXPECT_TRUE(video.playing());
    video.playbackEnded();
    EXPECT_EQ(screen.kind(), "video") << "f3 false: the last picture stays";
    EXPECT_FALSE(video.playing());

    state("video: clip.mp4, true, false, false");
    EXPECT_FALSE(video.controlsShown());
    EXPECT_TRUE(video.playing()) << "with no buttons nobody could start it";
}

TEST_F(DroneScreens, VideoLinksAndMissingVideos)
{
    documents.write("films/b.mp4", "x");
    EXPECT_EQ(DroneVideo::locate("films/b.mp4"), QUrl::fromLocalFile(documents.filePath("films/b.mp4")));
    EXPECT_EQ(DroneVideo::locate("/data/c.mp4"), QUrl::fromLocalFile("/data/c.mp4"));
    EXPECT_EQ(DroneVideo::locate("~/c.mp4"), QUrl::fromLocalFile(QDir::homePath() + "/c.mp4"));
    EXPECT_EQ(DroneVideo::locate("https://example.org/v.mp4"), QUrl("https://example.org/v.mp4"));
    EXPECT_EQ(DroneVideo::locate(" "), QUrl());

    state("video:  , false, true, false");
    EXPECT_EQ(screen.kind(), "video");
    EXPECT_FALSE(screen.video()->playing());
    EXPECT_EQ(screen.problem(), "Video not found: ");
    state("video: gone.mp4, false, true, false");
    EXPECT_EQ(screen.problem(), "Video not found: gone.mp4");
    EXPECT_TRUE(console.contains("Video not found: gone.mp4"));
    screen.video()->playbackFailed("no decoder");
    EXPECT_EQ(screen.problem(), "Video cannot be played: no decoder");
}

TEST_F(DroneScreens, SliderAsksAfreshForEachQuestion)
{
    state("slider: How calm are you?");
    DroneSlider &slider = *screen.slider();
    EXPECT_EQ(screen.kind(), "slider");
    EXPECT_EQ(slider.question(), "How calm are you?");
    EXPECT_EQ(slider.value(), DroneSlider::startValue);
    slider.setValue(42);
    EXPECT_EQ(slider.value(), 10) << "two digits at most reach the timekeeper";
    slider.setValue(-1);
    EXPECT_EQ(slider.value(), 0);
    slider.send();
    EXPECT_TRUE(slider.sent());
    state("slider: ");
    EXPECT_FALSE(slider.sent());
    EXPECT_EQ(slider.question(), "");
}

TEST_F(DroneScreens, SliderSendsTheExactRatingText)
{
    MultipeerSession session(QStringLiteral("timekeeper"));
    endpoint.start();
    session.setAutoInvite(true);
    session.startBrowsing();
    ASSERT_TRUE(waitFor([&] { return session.isConnected() && endpoint.connected(); }));
    EXPECT_EQ(screen.statusText(), "");

    session.sendState("slider: How calm?");
    ASSERT_TRUE(waitFor([&] { return screen.kind() == "slider"; }));
    screen.slider()->setValue(7);
    screen.slider()->send();
    ASSERT_TRUE(waitFor([&] { return !session.receivedMessage().isEmpty(); }));
    EXPECT_TRUE(console.contains("Received message: @Slider value is: 7"));
    EXPECT_EQ(session.receivedMessage(), "Slider value is: 7");
}
