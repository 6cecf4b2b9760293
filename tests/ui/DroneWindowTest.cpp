#include "WindowFixture.h"

#include "drone/DroneEndpoint.h"
#include "drone/DroneScreen.h"
#include "drone/MultipeerSession.h"
#include "support/OutsiderProcess.h"

#include <QFont>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

namespace {

// The participant's window, off screen and not full screen, on a real drone
// endpoint, and a timekeeper's session that sends it states over loopback.
class DroneWindow : public WindowFixture
{
protected:
    DroneWindow()
    {
        QSettings().clear();
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
        timekeeper.sendState(payload);
        // Acknowledged once the drone has shown it.
        const auto shownByDrone = [&] { return timekeeper.lastAckedSequence() == timekeeper.stateSequence(); };
        ASSERT_TRUE(QTest::qWaitFor(shownByDrone, 5000)) << payload.toStdString();
        settle();
    }
    // The loaded view, none for black.
    QObject *view() const { return property("droneView", "item").value<QObject *>(); }
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

    // At both of a tablet's sizes the items lie inside the window; shot beside the page's web-NAME-WxH.png.
    void atTabletSizes(const QString &name, const QStringList &items)
    {
        for (const auto &[width, height] : {std::pair{1024, 768}, std::pair{768, 1024}}) {
            window->resize(width, height);
            settle();
            for (const QString &item : items)
                expectShownInside(item);
            screenshot(QStringLiteral("drone-%1-%2x%3").arg(name).arg(width).arg(height));
        }
        window->resize(1280, 800);
        settle();
    }

    DroneEndpoint endpoint{QStringLiteral("drone")};
    DroneScreen screen{endpoint};
    MultipeerSession timekeeper{QStringLiteral("timekeeper")};
};

// A state, items of the window and their texts (an empty text: hidden, no texts: black);
// tablet: a state of the tablet page's screenshots, checked at the page's sizes too.
struct StateCase
{
    QString payload;
    QList<std::pair<QString, QString>> texts;
    bool tablet = false;
};

} // namespace

// The rules of each state are DroneScreens' tests; this is their wiring.
TEST_F(DroneWindow, EachStateShowsItsTextsInsideTheWindowAPauseCoversThemAndTheRatingIsSent)
{
    EXPECT_EQ(view(), nullptr);
    EXPECT_EQ(text("droneStatus"), "Waiting for the timekeeper");
    screenshot("drone-waiting");
    timekeeper.setAutoInvite(true);
    timekeeper.startBrowsing();
    ASSERT_TRUE(QTest::qWaitFor([&] { return timekeeper.isConnected() && endpoint.connected(); }, 15000));
    documents.write("two.txt", "images/sun.png\nmoon.png\n");
    const QString longText = "Sit still and look at the cross.\nBreathe calmly | keep your eyes open";
    const QString markup = "<b>bold</b> & <img src=\"http://127.0.0.1:1/x.png\">";
    const QString question = "How calm do you feel?";
    const StateCase cases[]{
        {"timer: 4", {{"droneTitle", ""}, {"droneDigits", "00:04"}}, true},
        {"black", {}},
        {"climbing: 185", {{"droneTitle", "Time remaining"}, {"droneDigits", "03:05"}}},
        {"fall", {{"droneTitle", "You can restart in"}, {"droneDigits", "00:50"}}},
        {"text: Look at the cross", {{"droneTitle", "Look at the cross"}}, true},
        {"text: " + markup, {{"droneTitle", markup}, {"droneDigits", ""}}},
        {"text: " + longText, {{"droneTitle", longText}}},
        {"exercise: Squats - 30s", {{"droneTitle", "Squats"}, {"droneDigits", "00:30"}}},
        {"exercises completed", {{"droneTitle", "Exercises completed"}, {"droneDigits", ""}}},
        {"done", {{"droneTitle", "Done"}, {"droneDetail", "Thank you"}}},
        {"images: images.txt", {{"droneProblem", ""}}, true},
        {"images: two.txt", {{"droneProblem", "Missing images: moon.png"}}},
        {"breathing: 2.5, 0.0, 2.5, 0.0", {{"droneBreathingPhase", "Breathe in"}}, true},
        {"video: missing.mp4, false, true, false", {{"droneProblem", "Video not found: missing.mp4"}}},
        {"slider: " + question,
         {{"droneSliderQuestion", question}, {"droneSliderValue", "5"}, {"droneSendButton", "Send"}},
         true}};
    for (const auto &[payload, texts, tablet] : cases) {
        SCOPED_TRACE(payload.toStdString());
        state(payload);
        EXPECT_EQ(view() == nullptr, texts.isEmpty()) << "black";
        QStringList inside;
        for (const auto &[item, expected] : texts) {
            if (expected.isEmpty()) {
                EXPECT_FALSE(shown(item)) << item.toStdString();
            } else {
                EXPECT_EQ(text(item), expected);
                expectShownInside(item);
                inside << item;
            }
        }
        EXPECT_FALSE(shown("droneStatus"));
        const QString name = payload.section(':', 0, 0);
        screenshot("drone-" + QString(name).replace(' ', '-'));
        if (tablet)
            atTabletSizes(name, inside);
    }

    find("droneSlider")->setProperty("value", 7);
    QMetaObject::invokeMethod(find("droneSlider"), "moved");
    settle();
    EXPECT_EQ(text("droneSliderValue"), "7");
    click("droneSendButton");
    EXPECT_TRUE(QTest::qWaitFor([&] { return timekeeper.receivedMessage() == "Slider value is: 7"; }, 5000));
    EXPECT_TRUE(shown("droneThanks"));
    screenshot("drone-slider-sent");

    state("timer: 125");
    EXPECT_EQ(property("droneTitle", "textFormat").toInt(), int(Qt::PlainText))
        << "a text is shown as it is, never as markup";
    EXPECT_FALSE(shown("dronePausedCover"));
    state("pause");
    EXPECT_EQ(text("dronePausedText"), "Paused");
    EXPECT_TRUE(shown("dronePausedCover"));
    EXPECT_TRUE(shown("droneDigits")) << "the view stays beneath";
    screenshot("drone-paused");
    state("resume");
    EXPECT_FALSE(shown("dronePausedCover"));
}

TEST_F(DroneWindow, APairingShowsItsCodeLargeAndPairOnTheDroneConfirmsIt)
{
    OutsiderProcess asking({"timekeeper", "--port", QString::number(endpoint.transport().listeningPort()), "--pair"});
    ASSERT_TRUE(asking.waitForLine("pairing"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown("dronePairing"); }, 5000));
    EXPECT_EQ(text("dronePairingTitle"), "Pair with the timekeeper outsider timekeeper?");
    EXPECT_EQ(text("dronePairingCode").size(), 6);
    EXPECT_EQ(text("dronePairingHint"), "Press Pair when the timekeeper shows the same code.");
    EXPECT_GE(property("dronePairingCode", "font").value<QFont>().pixelSize(), window->height() / 6);
    atTabletSizes("pairing", {"dronePairingTitle", "dronePairingCode", "dronePairingHint"});
    screenshot("drone-pairing");
    click("dronePairButton");
    EXPECT_EQ(text("dronePairingHint"), "Waiting for Pair on the timekeeper...");
    EXPECT_FALSE(enabled("dronePairButton"));
    click("dronePairingCancel");
    ASSERT_TRUE(asking.waitForLine("refused"));
    settle();
    EXPECT_FALSE(shown("dronePairing"));
}
