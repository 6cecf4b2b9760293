// The timekeeper and the drone programs pair once through the chooser, link
// by themselves after both start again, and part when either forgets.
#include "support/DroneProcess.h"
#include "support/LinkPairing.h"
#include "support/TemporaryDocuments.h"
#include "support/TimekeeperProcess.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int quietMs = 3000;

struct Lab
{
    TemporaryDocuments documents;
    QTemporaryDir droneHome;
    QTemporaryDir timekeeperHome;
    std::unique_ptr<DroneProcess> drone;
    std::unique_ptr<TimekeeperProcess> timekeeper;

    void start()
    {
        timekeeper.reset();
        drone.reset();
        drone = std::make_unique<DroneProcess>("Lab drone", QStringList{}, DroneProcess::Screen::none,
                                               DroneProcess::Pairing::none, droneHome.path());
        timekeeper = std::make_unique<TimekeeperProcess>(documents.path(), timekeeperHome.path());
    }
    bool linked() { return drone->waitForLine("connected", 20000); }
    bool peerShows(const QString &status)
    {
        return timekeeper->waitUntil([&] { return timekeeper->text("peer Lab drone") == "Lab drone  \u2014 " + status; });
    }
};

} // namespace

TEST(Pairing, ThroughTheChooserOnceThenByThemselvesUntilForgotten)
{
    Lab lab;
    lab.start();
    TimekeeperProcess &timekeeper = *lab.timekeeper;
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("droneButton"); }));
    ASSERT_TRUE(lab.peerShows("not paired"));
    ASSERT_TRUE(timekeeper.click("peer Lab drone"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("pairingPanel"); }));
    const QString code = timekeeper.text("pairingCode");
    EXPECT_EQ(code.size(), 6);
    ASSERT_TRUE(lab.drone->waitForLine("pairing code " + code + " with "));
    ASSERT_TRUE(timekeeper.click("pairButton"));
    EXPECT_EQ(timekeeper.text("pairingHint"), "Waiting for Pair on the drone...");
    EXPECT_FALSE(timekeeper.enabled("peerBrowserDone")) << "held until the drone confirms too";
    lab.drone->command("pair");
    ASSERT_TRUE(lab.drone->waitForLine("paired with "));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.enabled("peerBrowserDone"); }));
    ASSERT_TRUE(timekeeper.click("peerBrowserDone"));
    EXPECT_TRUE(lab.drone->waitForLine("connected"));

    // Both start again: they find and link each other with nobody touching anything.
    lab.start();
    ASSERT_TRUE(lab.linked());
    EXPECT_FALSE(lab.drone->waitForLine("pairing code", 500));

    // The drone forgets: the timekeeper, still paired on its side, is refused.
    lab.drone.reset();
    DroneProcess forgetting("Lab drone", {"--forget"}, DroneProcess::Screen::none, DroneProcess::Pairing::none,
                            lab.droneHome.path());
    ASSERT_TRUE(forgetting.waitForLine("forgot 1 paired timekeeper(s)"));
    lab.drone = std::make_unique<DroneProcess>("Lab drone", QStringList{}, DroneProcess::Screen::none,
                                               DroneProcess::Pairing::none, lab.droneHome.path());
    QTest::qWait(quietMs);
    EXPECT_FALSE(lab.drone->waitForLine("connected", 100));

    // Paired again on the drone's side only, then forgotten in the chooser.
    LinkPairing::pair(lab.timekeeper->configFolder(), lab.drone->configFolder(), "timekeeper", "Lab drone");
    ASSERT_TRUE(lab.linked());
    ASSERT_TRUE(lab.timekeeper->click("droneButton"));
    ASSERT_TRUE(lab.timekeeper->waitUntil([&] { return lab.timekeeper->click("forget Lab drone"); }));
    ASSERT_TRUE(lab.peerShows("not paired"));
    ASSERT_TRUE(lab.timekeeper->click("peerBrowserCancel"));
    lab.start();
    QTest::qWait(quietMs);
    EXPECT_FALSE(lab.drone->waitForLine("connected", 100));
}
