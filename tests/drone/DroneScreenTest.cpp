#include "drone/DroneEndpoint.h"
#include "drone/DroneFixture.h"
#include "drone/DroneScreen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The drone's screen on a real endpoint; states come in as the timekeeper sends them.
class DroneScreens : public DroneFixture
{
protected:
    void state(const QString &payload, bool resend = false)
    {
        sequence += resend ? 0 : 1;
        endpoint.handleMessage(QStringLiteral("@State: seq:%1|%2").arg(sequence).arg(payload).toUtf8());
    }
    static void ticks(DroneCountdown &countdown, int n)
    {
        for (int i = 0; i < n; ++i)
            countdown.tick();
    }
    // What the screen shows: its kind, title and digits, then "paused", "counting" and "recovering" while so.
    QStringList shown()
    {
        QStringList all{screen.kind(), screen.title(), screen.digits()};
        for (const auto &[set, flag] : {std::pair(screen.paused(), "paused"),
                                        std::pair(screen.countdown().isRunning(), "counting"),
                                        std::pair(screen.recovery().isRunning(), "recovering")})
            all += set ? QStringList{flag} : QStringList();
        return all;
    }

    DroneEndpoint endpoint{QStringLiteral("drone")};
    DroneScreen screen{endpoint};
    qint64 sequence = 0;
};

} // namespace

TEST_F(DroneScreens, UnknownStatesShowBlackAndAResendArrivingAfterANewerStateIsNotShown)
{
    EXPECT_EQ(shown(), (QStringList{"black", "", ""})) << "black until the first state";
    state("timer: 30");
    state("timer: soon"); // which payloads are unknown is DronePayload's table
    EXPECT_EQ(shown(), (QStringList{"black", "", ""})) << "the countdown it replaced is gone";
    state("text: newer");
    endpoint.handleMessage("@State: seq:1|timer: 30");
    EXPECT_EQ(shown(), (QStringList{"text", "newer", ""}));
}

TEST_F(DroneScreens, CountdownsRunBetweenMessagesAndEachNewStateResetsThem)
{
    state("timer: 3");
    EXPECT_EQ(screen.digits(), "00:03");
    ASSERT_TRUE(waitFor([&] { return screen.digits() == "00:02"; })) << "it ticks by itself";
    state("timer: 3", true);
    EXPECT_EQ(screen.digits(), "00:02") << "a resend of the same state changes nothing";
    state("timer: 3");
    EXPECT_EQ(screen.digits(), "00:03") << "the same payload in a new state starts again";
    ticks(screen.countdown(), 5);
    EXPECT_EQ(shown(), (QStringList{"timer", "", "00:00"})) << "it stops at zero";
    state("timer: -4");
    EXPECT_EQ(shown(), (QStringList{"timer", "", "00:00"}));

    state("exercise: Squats - 3s");
    EXPECT_EQ(shown(), (QStringList{"exercise", "Squats", "00:03"}));
    state("exercise: Squats");
    EXPECT_EQ(screen.digits(), "00:03") << "the name alone keeps the seconds of the same exercise";
    state("exercise: Lunges");
    EXPECT_EQ(shown(), (QStringList{"exercise", "Lunges", ""})) << "a new exercise without time shows none";
}

TEST_F(DroneScreens, AFallRestsAndThenTheClimbingTimeComesBack)
{
    state("climbing: 90");
    EXPECT_EQ(screen.digits(), "01:30");
    state("fall");
    EXPECT_EQ(screen.digits(), "00:50");
    ticks(screen.countdown(), 10);
    ticks(screen.recovery(), 50);
    EXPECT_EQ(shown(), (QStringList{"climbing", "Time remaining", "01:20", "counting"}))
        << "the climbing time went on during the rest";
    state("text: rest");
    state("fall");
    ticks(screen.recovery(), 50);
    EXPECT_EQ(screen.kind(), "black") << "without a climbing time the screen goes black";
}

TEST_F(DroneScreens, PauseHoldsTheViewAndResumeGoesOn)
{
    state("timer: 20");
    ticks(screen.countdown(), 2);
    state("pause");
    ticks(screen.countdown(), 3);
    EXPECT_EQ(shown(), (QStringList{"timer", "", "00:18", "paused"})) << "the view stays, held, under the cover";
    state("pause"); // the current state again, while paused
    EXPECT_TRUE(screen.paused());
    state("resume");
    EXPECT_EQ(shown(), (QStringList{"timer", "", "00:18", "counting"}));
    state("timer: 20");
    state("resume");
    EXPECT_EQ(shown(), (QStringList{"timer", "", "00:20", "counting"})) << "a resume without a pause changes nothing";

    state("climbing: 60");
    state("pause");
    state("fall");
    EXPECT_EQ(shown(), (QStringList{"fall", "You can restart in", "00:50", "counting", "recovering"}))
        << "a new state ends the pause";

    state("slider: How calm?");
    DroneSlider &slider = *screen.slider();
    slider.setValue(42);
    EXPECT_EQ(slider.value(), 10) << "two digits at most reach the timekeeper";
    slider.setValue(-1);
    EXPECT_EQ(slider.value(), 0);
    slider.setValue(8);
    slider.send();
    state("pause");
    state("resume");
    state("slider: How calm?");
    EXPECT_EQ(slider.value(), 8) << "after a resume the same state goes on where it was";
    EXPECT_TRUE(slider.sent());
    state("slider: How calm?");
    EXPECT_EQ(slider.value(), DroneSlider::startValue) << "the next step asks again";
    EXPECT_FALSE(slider.sent());

    // A run stopped while paused sends "done" and then "resume".
    state("pause");
    state("done");
    state("resume");
    EXPECT_EQ(shown(), (QStringList{"done", "Done", ""})) << "the participant's screen stays on done";
}

TEST_F(DroneScreens, BreathingPacerGoesRoundItsPhasesAndHoldsWhilePaused)
{
    using Phase = BreathingPacer::Phase;
    EXPECT_EQ(BreathingPacer::steps({3.75, 0.0, 3.75, 0.0}),
              (QList<BreathingPacer::Step>{{Phase::breatheIn, 3750}, {Phase::breatheOut, 3750}}));
    state("breathing: 4, 2, 6, 1");
    BreathingPacer &pacer = *screen.pacer();
    // Each phase, its length, and whether the circle is full (holding in keeps it full).
    using Shown = std::tuple<Phase, qint64, bool>;
    QList<Shown> phases;
    for (int i = 0; i < 5; ++i, pacer.advance())
        phases.append({pacer.phase(), pacer.phaseMs(), pacer.expanded()});
    EXPECT_EQ(phases, (QList<Shown>{{Phase::breatheIn, 4000, true}, {Phase::holdIn, 2000, true},
                                    {Phase::breatheOut, 6000, false}, {Phase::holdOut, 1000, false},
                                    {Phase::breatheIn, 4000, true}}));

    state("breathing: 0.3, 0.0, 0.3, 0.0");
    ASSERT_TRUE(waitFor([&] { return pacer.phase() == Phase::breatheOut; })) << "it goes on by itself";
    ASSERT_TRUE(waitFor([&] { return pacer.phase() == Phase::breatheIn; }));
    state("pause");
    QTest::qWait(700); // two phases and a margin
    EXPECT_EQ(pacer.phase(), Phase::breatheIn) << "held while paused";
    state("resume");
    EXPECT_TRUE(waitFor([&] { return pacer.phase() == Phase::breatheOut; }));
    state("black");
    EXPECT_EQ(pacer.phaseText(), "") << "stopped when another view shows";
}

TEST_F(DroneScreens, VideoHonoursItsThreeFlagsAndPauses)
{
    documents.write("clip.mp4", "not really a film");
    DroneVideo &video = *screen.video();
    state("video: clip.mp4, false, true, true");
    EXPECT_EQ(video.source(), QUrl::fromLocalFile(documents.filePath("clip.mp4")));
    EXPECT_TRUE(video.controlsShown()) << "f1 false: the buttons show";
    EXPECT_TRUE(video.playing()) << "f2 true: it starts by itself";
    video.playbackEnded();
    EXPECT_EQ(screen.kind(), "black") << "f3 true: the step goes on without the video";

    state("video: clip.mp4, false, false, false");
    EXPECT_FALSE(video.playing()) << "waits for the participant";
    video.play();
    state("pause");
    EXPECT_FALSE(video.playing());
    state("resume");
    state("video: clip.mp4, false, false, false");
    EXPECT_TRUE(video.playing()) << "not started again from the beginning";
    video.playbackEnded();
    EXPECT_EQ(screen.kind(), "video") << "f3 false: the last picture stays";
    EXPECT_FALSE(video.playing());

    state("video: clip.mp4, true, false, false");
    EXPECT_FALSE(video.controlsShown());
    EXPECT_TRUE(video.playing()) << "with no buttons nobody could start it";
}

TEST_F(DroneScreens, MediaComeOnlyByNameFromTheDronesOwnFolders)
{
    documents.write("films/b.mp4", "x");
    // Each of these exists, and none may be reached from outside.
    QTemporaryDir outside;
    QFile(outside.filePath("v.mp4")).open(QIODevice::WriteOnly);
    QFile list(outside.filePath("list.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write("v.mp4\n") > 0);
    list.close();
    const QString up = QDir(documents.path()).relativeFilePath(outside.path());
    ASSERT_TRUE(up.startsWith("../"));

    state("video: films/b.mp4, false, true, false");
    EXPECT_EQ(screen.video()->source(), QUrl::fromLocalFile(documents.filePath("films/b.mp4")));
    EXPECT_EQ(screen.problem(), "");

    for (const QString &name : {outside.path(), up, "films/../" + up, "~/" + QDir::home().relativeFilePath(outside.path()),
                                QUrl::fromLocalFile(outside.path()).toString(), QStringLiteral("http://127.0.0.1:9/v"),
                                QStringLiteral("qrc:/images"), QStringLiteral("a\u0007b")}) {
        for (const QString file : {"v.mp4", "list.txt"}) {
            const QString link = name + "/" + file;
            state("video: " + link + ", false, true, false");
            EXPECT_EQ(screen.video()->source(), QUrl()) << link.toStdString();
            EXPECT_FALSE(screen.video()->playing());
            EXPECT_EQ(screen.problem(), "Video not found: " + link);
            state("images: " + link);
            EXPECT_EQ(screen.imageSources(), QStringList()) << link.toStdString();
            EXPECT_EQ(screen.problem(), "Missing image list file: " + link);
        }
    }
    state("video: films/b.mp4, false, true, false");
    screen.video()->playbackFailed("no decoder");
    EXPECT_EQ(screen.problem(), "Video cannot be played: no decoder");
}

// Over a real link: a new timekeeper numbers its states from 1 again.
TEST_F(DroneScreens, ATimekeeperStartedAnewIsShown)
{
    endpoint.start();
    for (const QString text : {"first", "after a restart"}) {
        MultipeerSession timekeeper(QStringLiteral("timekeeper"));
        discover(timekeeper);
        ASSERT_TRUE(waitFor([&] { return timekeeper.isConnected() && endpoint.connected(); }));
        timekeeper.sendState("text: " + text);
        EXPECT_TRUE(waitFor([&] { return screen.title() == text; })) << text.toStdString();
    }
}
