#include "WindowFixture.h"

#include "drone/DroneEndpoint.h"
#include "drone/DroneScreen.h"
#include "drone/MultipeerSession.h"
#include "support/MjpegAvi.h"

#include <QMediaPlayer>
#include <QPainter>
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
    // What the view shows: the loaded item, none for black.
    QQuickItem *view() const { return qobject_cast<QQuickItem *>(find("droneView")->property("item").value<QObject *>()); }
    QMediaPlayer::PlaybackState playback() const
    {
        return QMediaPlayer::PlaybackState(find("droneVideoPlayer")->property("playbackState").toInt());
    }
    // A short film in the documents folder: coloured frames with their numbers.
    void writeFilm(const QString &name, int frames)
    {
        QList<QImage> pictures;
        for (int i = 0; i < frames; ++i) {
            QImage picture(640, 360, QImage::Format_RGB32);
            picture.fill(QColor::fromHsv((i * 12) % 360, 160, 200));
            QPainter painter(&picture);
            painter.setPen(Qt::white);
            QFont font = painter.font();
            font.setPixelSize(120);
            painter.setFont(font);
            painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(i + 1));
            pictures.append(picture);
        }
        ASSERT_TRUE(writeMjpegAvi(documents.filePath(name), pictures, 10));
    }
    // A text item that is shown and lies wholly inside the window.
    void expectShownInside(const QString &objectName) const
    {
        auto *item = qobject_cast<QQuickItem *>(find(objectName));
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isVisible()) << objectName.toStdString();
        const QRectF box = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        EXPECT_TRUE(QRectF(0, 0, window->width(), window->height()).contains(box)) << objectName.toStdString();
        if (item->property("contentWidth").isValid()) {
            EXPECT_LE(item->property("contentWidth").toReal(), item->width() + 1) << objectName.toStdString();
            EXPECT_LE(item->property("contentHeight").toReal(), item->height() + 1) << objectName.toStdString();
        }
    }

    DroneEndpoint endpoint{QStringLiteral("drone")};
    DroneScreen screen{endpoint};
    MultipeerSession timekeeper{QStringLiteral("timekeeper")};
    int received = 0;
};

} // namespace

TEST_F(DroneWindow, BlackWhileWaitingForTheTimekeeperAndOnBlack)
{
    EXPECT_EQ(window->color(), QColor(Qt::black));
    EXPECT_EQ(view(), nullptr);
    EXPECT_EQ(text("droneStatus"), "Waiting for the timekeeper");
    EXPECT_FALSE(shown("dronePausedCover"));
    screenshot("drone-waiting");
    state("text: something");
    state("black");
    EXPECT_EQ(view(), nullptr);
    EXPECT_FALSE(shown("droneStatus"));
    screenshot("drone-black");
}

TEST_F(DroneWindow, CountdownsTextsAndTheEndOfARun)
{
    state("timer: 59");
    expectShownInside("droneDigits");
    EXPECT_EQ(text("droneDigits"), "00:59");
    EXPECT_FALSE(shown("droneTitle"));
    screen.countdown().tick();
    settle();
    EXPECT_EQ(text("droneDigits"), "00:58");
    screenshot("drone-timer");

    state("climbing: 185");
    EXPECT_EQ(text("droneTitle"), "Time remaining");
    EXPECT_EQ(text("droneDigits"), "03:05");
    expectShownInside("droneTitle");
    screenshot("drone-climbing");

    state("fall");
    EXPECT_EQ(text("droneTitle"), "You can restart in");
    EXPECT_EQ(text("droneDigits"), "00:50");
    screenshot("drone-fall");

    state("text: Sit still and look at the cross.\nBreathe calmly | keep your eyes open");
    EXPECT_EQ(text("droneTitle"), "Sit still and look at the cross.\nBreathe calmly | keep your eyes open");
    EXPECT_FALSE(shown("droneDigits"));
    expectShownInside("droneTitle");
    screenshot("drone-text");

    state("text: <b>bold</b> & <img src=\"http://127.0.0.1:1/x.png\">");
    EXPECT_EQ(find("droneTitle")->property("textFormat").toInt(), int(Qt::PlainText))
        << "a text is shown as it is, never as markup";
    EXPECT_EQ(text("droneTitle"), "<b>bold</b> & <img src=\"http://127.0.0.1:1/x.png\">");

    state("exercise: Squats - 30s");
    EXPECT_EQ(text("droneTitle"), "Squats");
    EXPECT_EQ(text("droneDigits"), "00:30");
    expectShownInside("droneDigits");
    screenshot("drone-exercise");

    state("exercises completed");
    EXPECT_EQ(text("droneTitle"), "Exercises completed");
    screenshot("drone-exercises-completed");

    state("done");
    EXPECT_EQ(text("droneTitle"), "Done");
    EXPECT_EQ(text("droneDetail"), "Thank you");
    expectShownInside("droneDetail");
    screenshot("drone-done");
}

TEST_F(DroneWindow, APauseCoversTheViewUntilTheResume)
{
    state("timer: 125");
    state("pause");
    EXPECT_TRUE(shown("dronePausedCover"));
    EXPECT_EQ(text("dronePausedText"), "Paused");
    EXPECT_EQ(text("droneDigits"), "02:05") << "the view stays beneath";
    screenshot("drone-paused");
    state("resume");
    EXPECT_FALSE(shown("dronePausedCover"));
    screenshot("drone-resumed");
}

TEST_F(DroneWindow, ImageSetShowsEveryPicture)
{
    state("images: images.txt");
    QObject *pictures = find("droneImages");
    ASSERT_NE(pictures, nullptr);
    ASSERT_EQ(pictures->property("count").toInt(), 4);
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
    EXPECT_EQ(find("droneImages")->property("count").toInt(), 1);
    EXPECT_EQ(text("droneProblem"), "Missing images: moon.png");
    expectShownInside("droneProblem");
}

TEST_F(DroneWindow, BreathingPacerGrowsAndShrinks)
{
    state("breathing: 1.8, 0.0, 1.8, 0.0");
    EXPECT_EQ(text("droneBreathingPhase"), "Breathe in");
    auto *circle = qobject_cast<QQuickItem *>(find("droneBreathingCircle"));
    ASSERT_NE(circle, nullptr);
    const qreal start = circle->scale();
    QTest::qWait(900);
    EXPECT_GT(circle->scale(), start) << "breathing in grows the circle";
    screenshot("drone-breathing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text("droneBreathingPhase") == "Breathe out"; }, 3000));
    const qreal full = circle->scale();
    QTest::qWait(900);
    EXPECT_LT(circle->scale(), full) << "breathing out shrinks it";
}

TEST_F(DroneWindow, SliderSendsTheRatingAndThanks)
{
    state("slider: How calm do you feel right now?");
    EXPECT_EQ(text("droneSliderQuestion"), "How calm do you feel right now?");
    EXPECT_EQ(text("droneSliderValue"), "5");
    expectShownInside("droneSliderQuestion");
    expectShownInside("droneSendButton");
    find("droneSlider")->setProperty("value", 7);
    QMetaObject::invokeMethod(find("droneSlider"), "moved");
    settle();
    EXPECT_EQ(screen.slider()->value(), 7);
    EXPECT_EQ(text("droneSliderValue"), "7");
    screenshot("drone-slider");
    click("droneSendButton");
    EXPECT_TRUE(screen.slider()->sent());
    EXPECT_TRUE(QTest::qWaitFor([&] { return timekeeper.receivedMessage() == "Slider value is: 7"; }, 5000));
    EXPECT_TRUE(shown("droneThanks"));
    EXPECT_EQ(text("droneThanks"), "Thank you");
    screenshot("drone-slider-sent");
}

TEST_F(DroneWindow, AFilmWaitsForThePlayButtonAndKeepsItsLastPicture)
{
    writeFilm("film.avi", 40);
    state("video: film.avi, false, false, false");
    EXPECT_TRUE(shown("droneVideoButton"));
    EXPECT_EQ(text("droneProblem"), "");
    QTest::qWait(300);
    EXPECT_NE(playback(), QMediaPlayer::PlayingState) << "f2 false: it waits";
    click("droneVideoButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return playback() == QMediaPlayer::PlayingState; }, 5000));
    QTest::qWait(700);
    screenshot("drone-video");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.video()->playing(); }, 10000)) << "the film ends";
    EXPECT_EQ(screen.kind(), "video") << "f3 false: the last picture stays";
    EXPECT_TRUE(shown("droneVideoButton"));
}

TEST_F(DroneWindow, AFilmWithoutButtonsPlaysByItselfAndTheStepGoesOn)
{
    writeFilm("film.avi", 10);
    state("video: film.avi, true, true, true");
    EXPECT_FALSE(shown("droneVideoButton"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return playback() == QMediaPlayer::PlayingState; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.kind() == "black"; }, 10000)) << "f3 true: black after the film";
}

TEST_F(DroneWindow, AMissingFilmIsNotedQuietly)
{
    state("video: missing.mp4, false, true, false");
    EXPECT_EQ(text("droneProblem"), "Video not found: missing.mp4");
    expectShownInside("droneProblem");
    EXPECT_NE(playback(), QMediaPlayer::PlayingState);
}

TEST_F(DroneWindow, AnUnknownStateShowsNothing)
{
    state("text: before");
    state("launch the rockets");
    EXPECT_EQ(view(), nullptr);
    EXPECT_FALSE(shown("droneProblem"));
    EXPECT_TRUE(console.contains("Unknown state, showing black: 'launch the rockets'"));
    screenshot("drone-unknown");
}
