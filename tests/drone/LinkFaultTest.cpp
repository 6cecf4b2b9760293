#include "bridge/BleBackend.h"
#include "common/Clock.h"
#include "drone/DroneFixture.h"
#include "drone/OptionalView.h"
#include "run/DroneStateText.h"
#include "run/LabelFileWriter.h"
#include "run/Tavoren3App.h"
#include "run/VerkeersLeiding.h"
#include "run/WorkingViewModel.h"
#include "support/CountingSoundPlayer.h"
#include "tasks/HapticFeedback.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// The timekeeper in this process, as the application builds it (with the
// run screen's models that talk to the drone), against a real drone.
// Label-log times follow the run's own ticks, so two runs of one protocol
// write the same bytes.
class LinkFault : public DroneFixture
{
protected:
    LinkFault()
    {
        Clock::install(clock);
        BleBackend::setUseSimulator(true);
        app = std::make_unique<Tavoren3App>(sound, QStringLiteral("timekeeper"));
        // Between ticks the wall clock shows the second of the coming tick,
        // which reads it as it arrives.
        QObject::connect(&controller(), &VerkeersLeiding::timeTotalChanged, [this] {
            if (controller().timeTotal() > 0)
                clock->set(start.addSecs(controller().timeTotal() + 1));
        });
    }
    ~LinkFault() override
    {
        views.reset();
        working.reset();
        app.reset();
        Clock::install(nullptr);
    }

    MultipeerSession &session() const { return app->VESK_Session(); }
    VerkeersLeiding &controller() const { return app->verkeersLeiding(); }

    bool connect(const QString &droneName)
    {
        discover(session());
        return connectedTo(session(), droneName);
    }

    // Sends a command and waits until the drone has read it: the rating
    // that follows it comes back only then.
    bool steer(DroneProcess &drone, const QString &command)
    {
        drone.command(command);
        const QString rating = QString::number(++m_ratings);
        drone.command(QStringLiteral("slider ") + rating);
        return waitFor([&] { return session().receivedMessage() == QStringLiteral("Slider value is: ") + rating; });
    }

    // What the drone printed for state n: one line a transmission.
    static QStringList received(const DroneProcess &drone, qint64 n)
    {
        return drone.lines().filter(QRegularExpression(QStringLiteral("^state %1( again)?: ").arg(n)));
    }
    int resendLines(qint64 n) const
    {
        return int(console.lines().count(QStringLiteral("No ACK for state seq %1 after 0.7s, resending once").arg(n)));
    }

    void startRun(const QList<DeelTestje> &steps)
    {
        useProtocol(*app->currentProtocol().currentProtocol(), steps);
        clock->set(start);
        controller().setPPID(QStringLiteral("42"));
        controller().setRunTimestamp(QStringLiteral("20261205_100000"));
        controller().startRun();
        clock->set(start.addSecs(1));
        working = std::make_unique<WorkingViewModel>(controller(), session());
        views = std::make_unique<OptionalView>(controller(), session(), haptics);
        views->appeared();
    }

    // The label file of a completed run of the protocol "Study".
    static QByteArray labelFile(const VerkeersLeiding &completed)
    {
        QFile file(*LabelFileWriter::labelFilePath(completed.completedLogFileName() + QStringLiteral(".lbl"),
                                                   QStringLiteral("Study")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The label file that the same steps get from a run without any drone,
    // ticked by hand.
    QByteArray labelFileWithoutDrone(const QList<DeelTestje> &steps)
    {
        CurrentProtocol protocol;
        useProtocol(*protocol.currentProtocol(), steps);
        MultipeerSession alone(QStringLiteral("alone"));
        CountingSoundPlayer quiet;
        VerkeersLeiding reference(alone, protocol, quiet);
        clock->set(start);
        reference.setPPID(QStringLiteral("42"));
        reference.setRunTimestamp(QStringLiteral("reference"));
        reference.startRun();
        while (reference.running()) {
            clock->advanceMs(1000);
            reference.tick();
        }
        return labelFile(reference);
    }

    static DeelTestje step(qint64 numID, const QString &label, qint64 duration, const OptionalViewSettings &view)
    {
        DeelTestje s;
        s.numID = numID;
        s.name = label;
        s.labelID = label;
        s.duration = duration;
        s.optionalViews = QList<OptionalViewSettings>{view};
        return s;
    }

    const QDateTime start{QDate(2026, 12, 5), QTime(10, 0, 0, 0)};
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(start);
    CountingSoundPlayer sound;
    HapticFeedback haptics;
    std::unique_ptr<Tavoren3App> app;
    std::unique_ptr<WorkingViewModel> working;
    std::unique_ptr<OptionalView> views;

private:
    static void useProtocol(::Run &run, const QList<DeelTestje> &steps)
    {
        run.setResearchName(QStringLiteral("Study"));
        run.setVersion(QStringLiteral("1"));
        run.setSteps(steps);
    }

    int m_ratings = 0;
};

// The longest time the main loop went without serving a 20 ms timer.
class MainLoopWatch
{
public:
    MainLoopWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_longestGapMs = std::max(m_longestGapMs, m_since.restart()); });
        m_since.start();
        m_timer.start(20);
    }
    qint64 longestGapMs() const { return m_longestGapMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longestGapMs = 0;
};

} // namespace

TEST_F(LinkFault, LateAcknowledgementsGiveEachStateOneResendAndNoMore)
{
    DroneProcess drone("late-drone");
    ASSERT_TRUE(connect("late-drone"));
    ASSERT_TRUE(steer(drone, "delay 1500"));
    const qint64 first = session().stateSequence() + 1;
    const QStringList payloads{"text: one", "timer: 30", "black"};
    for (const QString &payload : payloads)
        session().sendState(payload);
    ASSERT_TRUE(waitFor([&] { return session().lastAckedSequence() == first + 2; }));
    QTest::qWait(1500); // well past the time a second resend would have gone out

    for (qint64 i = 0; i < payloads.size(); ++i) {
        const QString text = payloads.at(i);
        EXPECT_EQ(received(drone, first + i), (QStringList{QStringLiteral("state %1: ").arg(first + i) + text,
                                                           QStringLiteral("state %1 again: ").arg(first + i) + text}));
        EXPECT_EQ(resendLines(first + i), 1);
    }
    EXPECT_EQ(drone.lines().filter(QRegularExpression("^state [0-9]+: ")).last(),
              QStringLiteral("state %1: black").arg(first + 2))
        << "the resends came after the newest state and do not replace it";

    // A timekeeper started anew counts from 1 again, and is shown.
    views.reset();
    working.reset();
    app.reset();
    MultipeerSession restarted(QStringLiteral("timekeeper"));
    discover(restarted);
    ASSERT_TRUE(connectedTo(restarted, "late-drone"));
    restarted.sendState("text: after a restart");
    EXPECT_TRUE(drone.waitForLine("state 1: text: after a restart"));
}

TEST_F(LinkFault, LostAcknowledgementsGiveOneResendThenTheStateIsGivenUp)
{
    DroneProcess drone("lossy-drone");
    ASSERT_TRUE(connect("lossy-drone"));

    // The first acknowledgement lost: the resend is acknowledged.
    ASSERT_TRUE(steer(drone, "drop 1"));
    session().sendState("text: lost once");
    const qint64 once = session().stateSequence();
    ASSERT_TRUE(waitFor([&] { return session().lastAckedSequence() == once; }));

    // Both lost: sent twice, 0.7 s apart, then given up.
    ASSERT_TRUE(steer(drone, "drop 2"));
    QElapsedTimer sent;
    sent.start();
    session().sendState("breathing: 2.5, 0.0, 2.5, 0.0");
    const qint64 twice = session().stateSequence();
    ASSERT_TRUE(drone.waitForLine(QStringLiteral("state %1 again: ").arg(twice)));
    EXPECT_GE(sent.elapsed(), 650);
    QTest::qWait(1500);
    EXPECT_EQ(session().lastAckedSequence(), once);

    // The link works on as before.
    session().sendState("black");
    const qint64 after = session().stateSequence();
    ASSERT_TRUE(waitFor([&] { return session().lastAckedSequence() == after; }));
    QTest::qWait(1000);

    EXPECT_EQ(received(drone, once), (QStringList{QStringLiteral("state %1: text: lost once").arg(once),
                                                  QStringLiteral("state %1 again: text: lost once").arg(once)}));
    EXPECT_EQ(received(drone, twice),
              (QStringList{QStringLiteral("state %1: breathing: 2.5, 0.0, 2.5, 0.0").arg(twice),
                           QStringLiteral("state %1 again: breathing: 2.5, 0.0, 2.5, 0.0").arg(twice)}));
    EXPECT_EQ(received(drone, after), QStringList{QStringLiteral("state %1: black").arg(after)});
    EXPECT_EQ(resendLines(once), 1);
    EXPECT_EQ(resendLines(twice), 1);
    EXPECT_EQ(resendLines(after), 0);
}

TEST_F(LinkFault, DuplicatedAcknowledgementsChangeNothing)
{
    DroneProcess drone("echo-drone");
    ASSERT_TRUE(connect("echo-drone"));
    ASSERT_TRUE(steer(drone, "duplicate on"));
    const qint64 first = session().stateSequence() + 1;
    for (const QString payload : {"text: a", "text: b", "text: c"})
        session().sendState(payload);
    ASSERT_TRUE(waitFor([&] {
        return console.lines().count(QStringLiteral("Received ACK for state seq %1").arg(first + 2)) == 2;
    }));
    QTest::qWait(1000);
    EXPECT_EQ(session().lastAckedSequence(), first + 2);
    for (qint64 n = first; n < first + 3; ++n) {
        EXPECT_EQ(received(drone, n).size(), 1) << "state " << n;
        EXPECT_EQ(console.lines().count(QStringLiteral("Received ACK for state seq %1").arg(n)), 2);
    }
    EXPECT_FALSE(console.anyStartsWith("No ACK for state seq"));
    EXPECT_FALSE(console.anyStartsWith("WARNING: "));
}

TEST_F(LinkFault, ADisconnectMidStepLeavesTheRunTickingAndTheReconnectedDroneGetsTheStep)
{
    DroneProcess drone("lab-drone");
    ASSERT_TRUE(connect("lab-drone"));
    startRun({step(1, "rest", 30, {"Timer (drone side)", {}}), step(2, "end", 5, {"Timer (drone side)", {}})});
    ASSERT_TRUE(drone.waitForLine("state 1: timer: 29"));

    // Kept apart for two ticks: no automatic invitation meanwhile.
    session().setAutoInvite(false);
    drone.command("disconnect");
    ASSERT_TRUE(waitFor([&] { return session().state() == MultipeerSessionState::notConnected; }));
    const qint64 ticked = controller().timeTotal();
    ASSERT_TRUE(waitFor([&] { return controller().timeTotal() >= ticked + 2; }));
    EXPECT_EQ(session().state(), MultipeerSessionState::notConnected);
    EXPECT_TRUE(controller().running());
    EXPECT_EQ(controller().nr(), 0);

    QString expected;
    QObject::connect(&session(), &MultipeerSession::stateChanged, [&] {
        if (session().isConnected() && expected.isEmpty())
            expected = QStringLiteral("state %1: ").arg(session().stateSequence())
                + DroneStateText::forStep(controller().currentStep(), controller().remainingTime());
    });
    // Browsing anew finds it again, and it is invited by its name.
    session().stopBrowsing();
    discover(session());
    ASSERT_TRUE(connectedTo(session(), "lab-drone"));
    ASSERT_FALSE(expected.isEmpty());
    ASSERT_TRUE(expected.contains(": timer: ")) << expected.toStdString();
    EXPECT_TRUE(drone.waitForLine(expected)) << expected.toStdString() << "\n"
                                             << drone.lines().join('\n').toStdString();
}

TEST_F(LinkFault, AFloodFromTheDroneNeitherHoldsUpTheRunNorChangesItsLabelFile)
{
    const QList<DeelTestje> steps{step(1, "rest", 2, {"Timer (drone side)", {}}),
                                  step(2, "read", 2, {"Text (drone side)", {QString("Read this | aloud")}}),
                                  step(3, "end", 1, {"Breathing (drone side)", {QString("slow")}})};
    const QByteArray expected = labelFileWithoutDrone(steps);
    ASSERT_EQ(expected.count("ended \n"), 3) << expected.toStdString();

    DroneProcess drone("noisy-drone");
    ASSERT_TRUE(connect("noisy-drone"));
    MainLoopWatch watch;
    startRun(steps);

    // Garbage of every kind the timekeeper reads: thousands of small messages
    // and a few large ones, one near the frame limit, all at once.
    const QStringList garbage{"@Ack: not a number", "@Ack: 99999999999999999999999", "@Ack: -4", "@Ack:12",
                              "@State of the drone", "@Slider value is: x@@", "@@@", "plain words \t|| \\n"};
    QString commands;
    for (int i = 0; i < 4000; ++i)
        commands += QStringLiteral("raw ") + garbage.at(i % garbage.size()) + QLatin1Char('\n');
    for (const int size : {1000 * 1000, 200 * 1000, 200 * 1000})
        commands += QStringLiteral("raw ") + QString(size, QLatin1Char('a')) + QLatin1Char('\n');
    commands += QStringLiteral("raw end of the flood");
    drone.command(commands);

    ASSERT_TRUE(waitFor([&] { return session().receivedMessage() == "end of the flood"; }, 60000));
    ASSERT_TRUE(waitFor([&] { return controller().isCompleted(); }, 60000));
    std::printf("longest gap of the main loop: %lld ms\n", static_cast<long long>(watch.longestGapMs()));
    EXPECT_LT(watch.longestGapMs(), 500) << "the main loop was held up";
    EXPECT_TRUE(session().isConnected());
    EXPECT_EQ(labelFile(controller()), expected);
}
