#include "WindowFixture.h"

#include "drone/DroneEndpoint.h"
#include "drone/DroneScreen.h"
#include "drone/MultipeerSession.h"
#include "support/ProgramRun.h"

#include <QMediaPlayer>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

namespace {

// The participant's window, off screen and not full screen, on a real drone
// endpoint; the first state connects a timekeeper's session over loopback,
// which then sends every state.
class DroneWindow : public WindowFixture
{
protected:
    DroneWindow()
    {
        QSettings().clear();
        QObject::connect(&endpoint, &DroneEndpoint::stateReceived, [this] { ++received; });
        endpoint.start();
        load(QStringLiteral("qrc:/Tavoren/drone/DroneWindow.qml"),
             {{QStringLiteral("model"), QVariant::fromValue(&screen)}, {QStringLiteral("fullScreen"), false}});
    }
    ~DroneWindow() override
    {
        engine.reset();
        QSettings().clear();
    }

    void state(const QString &payload)
    {
        if (!timekeeper.isConnected()) {
            timekeeper.setAutoInvite(true);
            timekeeper.startBrowsing();
            ASSERT_TRUE(QTest::qWaitFor([&] { return timekeeper.isConnected() && endpoint.connected(); }, 15000));
        }
        const int before = received;
        timekeeper.sendState(payload);
        ASSERT_TRUE(QTest::qWaitFor([&] { return received > before; }, 5000)) << payload.toStdString();
        settle();
    }
    // The loaded view, none for black.
    QObject *view() const { return property("droneView", "item").value<QObject *>(); }
    int playback() const { return property("droneVideoPlayer", "playbackState").toInt(); }
    // A text item that is shown and lies wholly inside the window, its text inside its box.
    void expectShownInside(const QString &objectName) const
    {
        SCOPED_TRACE(objectName.toStdString());
        auto *item = qobject_cast<QQuickItem *>(find(objectName));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isVisible());
        const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        EXPECT_TRUE(QRectF(0, 0, window->width(), window->height()).contains(box));
        EXPECT_LE(item->property("contentWidth").toReal(), item->width() + 1);
        EXPECT_LE(item->property("contentHeight").toReal(), item->height() + 1);
    }

    DroneEndpoint endpoint{QStringLiteral("drone")};
    DroneScreen screen{endpoint};
    MultipeerSession timekeeper{QStringLiteral("timekeeper")};
    int received = 0;
};

} // namespace

TEST_F(DroneWindow, EachStateShowsItsTextsInsideTheWindowAndAPauseCoversThem)
{
    EXPECT_EQ(view(), nullptr);
    EXPECT_EQ(text("droneStatus"), "Waiting for the timekeeper");
    screenshot("drone-waiting");
    const QString longText = "Sit still and look at the cross.\nBreathe calmly | keep your eyes open";
    const QString markup = "<b>bold</b> & <img src=\"http://127.0.0.1:1/x.png\">";
    // Payload, title, digits; empty: hidden.
    const QStringList cases[]{{"timer: 59", "", "00:59"},
                              {"black", "", ""},
                              {"climbing: 185", "Time remaining", "03:05"},
                              {"fall", "You can restart in", "00:50"},
                              {"text: " + markup, markup, ""},
                              {"unknown", "", ""},
                              {"text: " + longText, longText, ""},
                              {"exercise: Squats - 30s", "Squats", "00:30"},
                              {"exercises completed", "Exercises completed", ""},
                              {"done", "Done", ""}};
    for (const QStringList &c : cases) {
        SCOPED_TRACE(c.at(0).toStdString());
        state(c.at(0));
        EXPECT_EQ(view() == nullptr, c.at(1).isEmpty() && c.at(2).isEmpty()) << "black";
        for (const auto &[item, expected] : {std::pair{"droneTitle", c.at(1)}, std::pair{"droneDigits", c.at(2)}}) {
            if (view() && expected.isEmpty()) {
                EXPECT_FALSE(shown(item)) << item;
            } else if (view()) {
                EXPECT_EQ(text(item), expected);
                expectShownInside(item);
            }
        }
        EXPECT_FALSE(shown("droneStatus"));
        screenshot("drone-" + c.at(0).section(':', 0, 0).replace(' ', '-'));
    }
    EXPECT_EQ(property("droneTitle", "textFormat").toInt(), int(Qt::PlainText))
        << "a text is shown as it is, never as markup";
    EXPECT_EQ(text("droneDetail"), "Thank you");
    expectShownInside("droneDetail");
    state("timer: 125");
    EXPECT_FALSE(shown("dronePausedCover"));
    state("pause");
    EXPECT_EQ(text("dronePausedText"), "Paused");
    EXPECT_TRUE(shown("dronePausedCover"));
    EXPECT_TRUE(shown("droneDigits")) << "the view stays beneath";
    screenshot("drone-paused");
    state("resume");
    EXPECT_FALSE(shown("dronePausedCover"));
}

TEST_F(DroneWindow, PicturesPacerAndSliderAppearAndTheRatingIsSent)
{
    state("images: images.txt");
    QObject *pictures = find("droneImages");
    ASSERT_EQ(property("droneImages", "count").toInt(), 4);
    for (int i = 0; i < 4; ++i) {
        QQuickItem *picture = nullptr;
        QMetaObject::invokeMethod(pictures, "itemAt", Q_RETURN_ARG(QQuickItem *, picture), Q_ARG(int, i));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->property("status").toInt(), 1) << "loaded";
        EXPECT_GT(picture->width(), window->width() / 4) << "as large as the screen lets it be";
    }
    EXPECT_FALSE(shown("droneProblem"));
    screenshot("drone-images");
    documents.write("two.txt", "images/sun.png\nmoon.png\n");
    state("images: two.txt");
    EXPECT_EQ(property("droneImages", "count").toInt(), 1);
    EXPECT_EQ(text("droneProblem"), "Missing images: moon.png");
    expectShownInside("droneProblem");
    state("breathing: 1.8, 0.0, 1.8, 0.0");
    EXPECT_EQ(text("droneBreathingPhase"), "Breathe in");
    const auto scale = [&] { return property("droneBreathingCircle", "scale").toReal(); };
    const qreal start = scale();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scale() > start; }, 3000)) << "breathing in grows the circle";
    screenshot("drone-breathing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("droneBreathingPhase") == "Breathe out"; }, 3000));
    const qreal full = scale();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scale() < full; }, 3000)) << "breathing out shrinks it";
    state("slider: How calm do you feel right now?");
    EXPECT_EQ(text("droneSliderQuestion"), "How calm do you feel right now?");
    expectShownInside("droneSendButton");
    find("droneSlider")->setProperty("value", 7);
    QMetaObject::invokeMethod(find("droneSlider"), "moved");
    settle();
    EXPECT_EQ(text("droneSliderValue"), "7");
    screenshot("drone-slider");
    click("droneSendButton");
    EXPECT_TRUE(QTest::qWaitFor([&] { return timekeeper.receivedMessage() == "Slider value is: 7"; }, 5000));
    EXPECT_EQ(text("droneThanks"), "Thank you");
    EXPECT_TRUE(shown("droneThanks"));
    screenshot("drone-slider-sent");
}

TEST_F(DroneWindow, AFilmWaitsForThePlayButtonAndKeepsItsLastPictureAndAMissingOneIsNoted)
{
    // Two seconds of numbered test pictures.
    const ProgramRun film = ProgramRun::of("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x180:rate=10",
                                                      "-frames:v", "20", "-c:v", "mjpeg", documents.filePath("film.avi")});
    ASSERT_EQ(film.status, 0) << film.err.toStdString();
    state("video: film.avi, false, false, false");
    EXPECT_TRUE(shown("droneVideoButton"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return property("droneVideoPlayer", "mediaStatus").toInt() == QMediaPlayer::LoadedMedia; }, 5000));
    EXPECT_NE(playback(), QMediaPlayer::PlayingState) << "f2 false: it waits";
    click("droneVideoButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return playback() == QMediaPlayer::PlayingState; }, 5000));
    screenshot("drone-video");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.video()->playing(); }, 10000)) << "the film ends";
    EXPECT_EQ(screen.kind(), "video") << "f3 false: the last picture stays";
    state("video: missing.mp4, false, true, false");
    EXPECT_EQ(text("droneProblem"), "Video not found: missing.mp4");
    expectShownInside("droneProblem");
}
