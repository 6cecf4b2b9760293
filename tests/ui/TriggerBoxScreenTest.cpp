#include "ScreenFixture.h"

#include "common/EventLoopWait.h"
#include "markers/MarkerOutput.h"
#include "support/SocatPair.h"

using TriggerBoxScreen = ScreenFixture;

TEST_F(TriggerBoxScreen, TheSheetChoosesTheBoxTheStartCautionsAndTheRunScreenTellsItIsLost)
{
    SocatPair pair;
    ASSERT_TRUE(pair.start());
    // The editor's protocol, new: its pause id 1000 is noted only once a box is in use.
    EXPECT_EQ(models->editor()->markerCodesText(), "");
    EXPECT_EQ(text("triggerBoxLine"), "No trigger box");
    EXPECT_FALSE(shown("triggerBoxSheet"));
    click("triggerBoxButton");
    ASSERT_TRUE(shown("triggerBoxSheet"));
    EXPECT_EQ(text("sendTestMarker"), "Send test marker");
    EXPECT_EQ(property("triggerSpeed", "currentText").toString(), "115200");
    EXPECT_EQ(property("pulseWidth", "value").toInt(), 10);
    type("triggerPort", pair.deviceEnd());
    click("sendTestMarker");
    EXPECT_EQ(pair.readValues(3), QByteArray("\x00\xff\x00", 3));
    EXPECT_EQ(text("triggerStatus"), "Trigger box: " + pair.deviceEnd() + ", ready");
    screenshot("trigger-box-sheet");
    click("triggerBoxDone");
    EXPECT_FALSE(shown("triggerBoxSheet"));
    EXPECT_EQ(text("triggerBoxLine"), "Trigger box: " + pair.deviceEnd() + ", ready");
    EXPECT_EQ(models->editor()->markerCodesText(),
              "The pause id 1000 (VeskPauseLabel) is one a trigger box cannot send: pauses get no marker.");

    addProtocol("codes.json", {"Codes", "1", false, {step(7, "Rest", "rest", 30), step(300, "Talk", "talk", 30)}});
    click("runRow codes.json");
    type("ppidField", "12");
    click("startButton");
    ASSERT_TRUE(shown("startAlert"));
    EXPECT_EQ(text("alertTitle", find("startAlert")), "Before the run");
    EXPECT_EQ(text("alertMessage", find("startAlert")),
              "1 step has a numeric id that a trigger box cannot send: talk (300)\n"
              "The pause id 0 (VeskPauseLabel) is one a trigger box cannot send: pauses get no marker.");
    answer("startAlert", "Start");
    ASSERT_TRUE(app->verkeersLeiding().running());
    EXPECT_EQ(pair.readValues(2), QByteArray("\x07\x00", 2));
    EXPECT_FALSE(shown("triggerBoxLost"));

    pair.kill();
    ASSERT_TRUE(EventLoopWait::until([this] { return models->markers()->lost(); }, 3000));
    settle();
    EXPECT_TRUE(shown("triggerBoxLost"));
    EXPECT_EQ(text("triggerBoxLost"), "Trigger box lost");
    ASSERT_TRUE(pair.start());
    ASSERT_TRUE(EventLoopWait::until([this] { return !models->markers()->lost(); }, 3000));
    settle();
    EXPECT_FALSE(shown("triggerBoxLost"));
}
