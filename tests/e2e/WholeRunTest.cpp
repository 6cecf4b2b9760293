// The timekeeper and the drone as the laboratory runs them: two processes
// on loopback, the timekeeper worked through its screens from outside.
#include "support/DroneProcess.h"
#include "support/LinkPairing.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TimekeeperProcess.h"

#include <QDateTime>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString question = QStringLiteral("How calm do you feel?");
const QString instruction = QStringLiteral("Sit still and relax");

TestProtocol wholeProtocol()
{
    using S = TestProtocol;
    return {"Whole run", "2", true,
            {S::step(1, "Rest", "rest", 3, {{"Timer (drone side)", {}}}),
             S::step(2, "Instruction", "instruction", 0, {{"Text (drone side)", {instruction}}}),
             S::step(3, "Rating", "rating", 0, {{"Slider (drone side)", {question}}}),
             S::step(4, "Arithmetic", "arithmetic", 0, {{"Arithmetic tasks", {"TTR_addition_problems_1.txt"}}}),
             S::step(5, "Pressure", "pressure", 0, {{"Blood pressure monitoring (timekeeper side)", {}}})}};
}

} // namespace

TEST(WholeRun, ProtocolRunsThroughTheScreensWithARealDroneAndBridge)
{
    TemporaryDocuments documents;
    documents.write("Research_protocols/whole.json", wholeProtocol().json());
    QTemporaryDir droneHome; // the drone keeps its key when it starts again
    const auto startDrone = [&] {
        return std::make_unique<DroneProcess>("Bench drone", QStringList{}, DroneProcess::Screen::none,
                                              DroneProcess::Pairing::none, droneHome.path());
    };
    auto drone = startDrone();
    // The run's label file, line by line (the arithmetic scores have a file of their own).
    const auto labelFile = [&] {
        const QStringList files = QDir(documents.filePath("Label_files/Wholerun")).entryList({"Wholerun_12_*.lbl"});
        return QString::fromUtf8(files.size() == 1 ? documents.read("Label_files/Wholerun/" + files.first()) : "")
            .split('\n', Qt::SkipEmptyParts);
    };
    const auto labelFileHas = [&](const QString &text) { return labelFile().join('\n').contains(text); };
    const auto receives = [&](const QString &payload) {
        return QTest::qWaitFor([&] { return drone->states().contains(payload); }, 15000);
    };
    TimekeeperProcess timekeeper(documents.path());
    LinkPairing::pair(timekeeper.configFolder(), drone->configFolder(), "timekeeper", "Bench drone");

    // Start screen: protocol, participant, drone chosen in the browser.
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("runRow whole.json"); }));
    ASSERT_TRUE(timekeeper.type("ppidField", "12"));
    ASSERT_TRUE(timekeeper.click("droneButton"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("peer Bench drone"); }));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.enabled("peerBrowserDone"); }));
    ASSERT_TRUE(timekeeper.click("peerBrowserDone"));
    EXPECT_EQ(timekeeper.text("droneInfo"), "Drone device name: Bench drone");
    ASSERT_TRUE(timekeeper.click("startButton"));

    // A timed rest that ends by itself.
    EXPECT_EQ(timekeeper.text("stepName"), "Rest");
    // The count the drone runs down from: the step's 3 s, less the tick that
    // may have passed while the run screen was built.
    const QString timer = drone->lineAfter(0, "state 1: timer: ").value_or(drone->lines().join('\n'));
    EXPECT_TRUE(timer == "state 1: timer: 3" || timer == "state 1: timer: 2") << timer.toStdString();
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.text("stepName") == "Instruction"; }, 10000));

    // The drone falls away mid-step and comes back: it is shown the
    // instruction again without the operator doing anything.
    ASSERT_TRUE(receives("text: " + instruction));
    drone->kill();
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.text("droneStatus") == "Connection lost"; }))
        << timekeeper.text("droneStatus").toStdString();
    drone = startDrone();
    ASSERT_TRUE(drone->lineAfter(0, "state", 20000)) << drone->lines().join('\n').toStdString();
    EXPECT_EQ(drone->states(), QStringList{"text: " + instruction});
    ASSERT_TRUE(timekeeper.click("doneButton"));

    // The participant answers the rating on the drone.
    ASSERT_TRUE(receives("slider: " + question)) << drone->lines().join('\n').toStdString();
    drone->command("slider 7");
    ASSERT_TRUE(timekeeper.waitUntil([&] { return labelFileHas(question); }));
    ASSERT_TRUE(timekeeper.click("doneButton"));
    EXPECT_FALSE(timekeeper.shown("sliderWarning"));

    // Arithmetic on the timekeeper, each problem also shown to the participant.
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("optionalView Arithmetic"); }));
    EXPECT_EQ(timekeeper.text("problem"), "2 + 5 =7");
    ASSERT_TRUE(timekeeper.click("correctButton"));
    ASSERT_TRUE(timekeeper.click("wrongButton"));
    ASSERT_TRUE(timekeeper.click("doneButton"));

    // Blood pressure through the device browser on the simulated bridge.
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("optionalView BloodPressure"); }));
    ASSERT_TRUE(timekeeper.click("bpDeviceButton"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("device ESP32-BP-Bridge"); }));
    ASSERT_TRUE(timekeeper.click("deviceBrowserConnect"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.enabled("bpMeasurementButton"); }, 30000))
        << timekeeper.text("bpStatus").toStdString();
    ASSERT_TRUE(timekeeper.click("bpMeasurementButton"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return labelFileHas("\tBlood pressure: "); }, 90000))
        << labelFile().join('\n').toStdString();
    ASSERT_TRUE(timekeeper.click("doneButton"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("completionOverlay"); }));

    // The last states are still on their way when the overlay shows.
    EXPECT_TRUE(QTest::qWaitFor([&] { return drone->states().count("done") == 2; }, 15000));
    EXPECT_EQ(drone->states(), (QStringList{"text: " + instruction, "slider: " + question, "text: 2 + 5 =",
                                            "text: 3 + 8 =", "text: 4 + 8 =", "done", "done"}));

    // Every step boundary and every event, in the order written, each stamped.
    const QStringList lines = labelFile();
    QStringList labels{lines.value(0)};
    QList<QDateTime> times;
    for (const QString &line : lines.mid(1)) {
        times << QDateTime::fromString(line.section('\t', 0, 0), "dd-MM-yy/HH:mm:ss.zzz");
        labels << (times.last().isValid() ? "" : "unstamped: ") + line.section('\t', 1);
    }
    EXPECT_EQ(labels, (QStringList{"# StartTime\tLabel", "Start", "rest (1) started", "rest (1) ended ",
                                   "instruction (2) started", "instruction (2) ended ", " How calm do you feel? 7",
                                   "rating (3) started", "rating (3) ended ", "arithmetic (4) started",
                                   "arithmetic (4) ended ", "Blood pressure measurement started...",
                                   "Blood pressure: BP: 120/80 mmHg, HR: 60 bpm", "pressure (5) started",
                                   "pressure (5) ended "}));
    // The timed rest lasted its three seconds (less the first tick); a busy machine only makes it longer.
    ASSERT_GE(times.size(), 3);
    EXPECT_GE(times.at(1).msecsTo(times.at(2)), 1900);

    const QString scores = QString::fromUtf8(documents.read("Label_files/Wholerun/timelabelsPPID_12.lbl"));
    EXPECT_TRUE(scores.contains("\t2 + 5 = Correct") && scores.contains("\t3 + 8 = Wrong")) << scores.toStdString();
}
