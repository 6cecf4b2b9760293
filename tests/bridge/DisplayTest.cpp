#include "BridgeFixture.h"

namespace {
const QString generic = "There was an error. Check cuff fit and device status. Make sure that the participant is "
                        "still and that the hose is attached correctly. Retry.";
}

using DisplayTest = BridgeFixture;

TEST_F(DisplayTest, ClockWithinOneIsIdleOtherwiseAMeasurementRuns)
{
    central->handleDisplayText("1233");
    EXPECT_EQ(central->statusMessage(), "Ready for measurement...");
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_EQ(central->displayText(), "1233");
    EXPECT_TRUE(console.contains("DEBUG: Checking display - time=1234, display='1233', isMeasuring=false"));

    central->handleDisplayText("1236");
    EXPECT_TRUE(central->isMeasuring());
    EXPECT_EQ(central->statusMessage(), "Measurement in progress...");
    EXPECT_TRUE(central->keepAliveRunning());
    EXPECT_TRUE(console.contains("DEBUG: ✓ Auto-detected measurement start! isMeasuring now = true"));

    central->handleDisplayText("1234");
    EXPECT_TRUE(central->isMeasuring()) << "a measuring monitor stays measuring";
    EXPECT_EQ(central->statusMessage(), "Measurement in progress...");
}

TEST_F(DisplayTest, ClockTestComparesPlainNumbers)
{
    clock->set(QDateTime(QDate(2026, 12, 6), QTime(10, 0)));
    central->handleDisplayText("0959");
    EXPECT_TRUE(central->isMeasuring()) << "959 against 1000 differ by 41";

    central->resetLinkState();
    clock->set(QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    central->handleDisplayText("");
    EXPECT_FALSE(central->isMeasuring());
    EXPECT_EQ(central->statusMessage(), "Ready for measurement...");
    central->handleDisplayText("ec02");
    EXPECT_FALSE(central->errorOccured()) << "the error test is case-sensitive";
    EXPECT_FALSE(central->isMeasuring()) << "ec02 reads as 0";
}

TEST_F(DisplayTest, ErrorShowsAdviceThenNormalDisplayKeepsIt)
{
    central->handleDisplayText("150");
    ASSERT_TRUE(central->isMeasuring());
    central->handleDisplayText("EC02");
    EXPECT_EQ(central->statusMessage(),
              " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.");
    EXPECT_EQ(central->lastMeasurement(), "Umbrella event code EC02 (+ EC12, EC22, EC32, EC42, EC52, EC62).");
    EXPECT_TRUE(central->errorOccured());
    EXPECT_TRUE(central->isMeasuring()) << "an error leaves the belief";

    central->handleDisplayText("1234");
    EXPECT_EQ(central->lastMeasurement(),
              " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.");
    EXPECT_FALSE(central->errorOccured());
    EXPECT_EQ(central->statusMessage(),
              " There was over/under pressure. Check cuff attachment/fit and tubing, and retry.");

    central->handleDisplayText("1234");
    EXPECT_EQ(central->statusMessage(), "Measurement in progress...") << "belief kept until vitals or reset";
}

TEST_F(DisplayTest, UnknownCodesBatteryCodesAndTheEntryWithoutAdvice)
{
    central->handleDisplayText("EC77");
    EXPECT_EQ(central->statusMessage(), generic);
    EXPECT_EQ(central->lastMeasurement(), "Unknown error.");
    EXPECT_TRUE(central->errorOccured());

    central->handleDisplayText("Lbb");
    EXPECT_EQ(central->statusMessage(), " Contact support for the replacement of the backup battery.");
    EXPECT_EQ(central->lastMeasurement(), "Low backup battery.");

    central->handleDisplayText("LLL");
    EXPECT_EQ(central->statusMessage(), " Replace the main battery.");

    central->handleDisplayText("EC82");
    EXPECT_EQ(central->statusMessage(), "Unkink/inspect hose.");
    EXPECT_EQ(central->lastMeasurement(), "Kinked hose EC82.") << "a headline apart from the advice";
    EXPECT_TRUE(central->errorOccured());

    central->handleDisplayText("EC34");
    EXPECT_EQ(central->statusMessage(),
              "One or more BP results were corrupted then recovered. If frequent, indicates malfunction needing "
              "service.");
    EXPECT_TRUE(central->errorOccured());
}
