#include "../run/RunFixture.h"
#include "common/EventLoopWait.h"
#include "markers/MarkerOutput.h"
#include "markers/TriggerBoxViewModel.h"
#include "model/MarkerCodes.h"
#include "model/Run.h"
#include "report/BidsEventTable.h"
#include "run/LabelFileReader.h"
#include "support/SocatPair.h"

#include <QCoreApplication>
#include <QSettings>
#include <functional>

namespace {

// Seconds of the protocol's steps: long enough that no tick ends one.
constexpr qint64 longStep = 600;
const QString labelFile = QStringLiteral("Label_files/Study/Study_42_1_20261205_100000.lbl");

} // namespace

// A run whose boundaries go to a trigger box on a pseudo-terminal pair.
class Markers : public RunFixture, public ::testing::WithParamInterface<bool>
{
protected:
    Markers()
    {
        QSettings().clear();
        useSteps({step(10, "rest", longStep), step(300, "talk", longStep), step(20, "sums", longStep)});
        protocol.currentProtocol()->setVeskPauseLabel(99);
        // Slow work at each boundary, before the marker is made and its label line
        // written: both must keep the boundary's own time.
        QObject::connect(&controller, &VerkeersLeiding::boundary, [this] { clock->advanceMs(1); });
        output.follow(controller);
    }

    // Opens the box and waits for the 0 that puts its lines at rest.
    void openBox(bool hold = false)
    {
        ASSERT_TRUE(pair.start());
        output.apply(MarkerSettings{pair.deviceEnd(), 115200, pulseMs, hold, 250});
        ASSERT_TRUE(EventLoopWait::until([this] { return output.state() == MarkerOutput::State::Ready; }, 3000))
            << output.statusText().toStdString();
        ASSERT_EQ(pair.readValues(1), QByteArray(1, '\0'));
    }

    QString eventLog() const { return QString::fromUtf8(documents.read("log.lbl")); }

    static constexpr int pulseMs = 10;
    MarkerOutput output;
    SocatPair pair;
};

TEST_P(Markers, EachBoundaryOfARunIsItsCodeAndTheLinesReturnToRest)
{
    const bool hold = GetParam();
    openBox(hold);
    // A second between the operator's moves, so that each row has its own onset.
    for (const auto &move : std::initializer_list<std::function<void()>>{
             [&] { startAt(); }, [&] { controller.togglePause(); }, [&] { controller.togglePause(); },
             [&] { controller.requestAdvance(false); }, // to talk (300): nothing is sent
             [&] { controller.requestAdvance(false); }, // sums
             [&] { controller.previousStep(); },        // BACK to talk
             [&] { controller.requestAdvance(true); },  // SKIP to sums
             [&] { controller.restartCurrentStep(); }, [&] { controller.stopRun(); }}) {
        move();
        clock->advanceMs(1000);
    }

    const QByteArray expected =
        QByteArray::fromHex(hold ? "0a 63 0a 14 14 14 fa" : "0a 00 63 00 0a 00 14 00 14 00 14 00 fa 00");
    EXPECT_EQ(QString(pair.readValues(int(expected.size()), 5000).toHex(' ')), QString(expected.toHex(' ')));
    // Nothing more follows. (When each 0 leaves is bench_markers' to measure:
    // on a loaded machine the reading here lags by more than a pulse.)
    EXPECT_TRUE(pair.read(1, 100).isEmpty());

    ASSERT_TRUE(EventLoopWait::until([this] { return eventLog().contains("Marker 250 sent: stop"); }, 3000))
        << eventLog().toStdString();
    const QString log = eventLog();
    for (const char *line :
         {"\tMarker 10 sent: start of rest (10)\n", "\tMarker 99 sent: pause in rest (10)\n",
          "\tMarker 10 sent: resume of rest (10)\n", "\tMarker 20 sent: restart of sums (20)\n",
          "\tMarker 300 not sent (a trigger box sends only 1 to 255): start of talk (300)\n"})
        EXPECT_TRUE(log.contains(line)) << line << "\n" << log.toStdString();
    EXPECT_EQ(log.count("Marker 300 not sent"), 2);

    // The export finds each code at its row: a marker's logged time is its label line's.
    const auto table =
        BidsEventTable::of(LabelFileReader::read(documents.read(labelFile)), MarkerLogLine::sentIn(log.toUtf8()));
    ASSERT_TRUE(table);
    QStringList rows;
    for (const auto &row : table->rows())
        rows.append(QString("%1 %2 %3").arg(row.onset / 1000).arg(row.trialType).arg(row.value.value_or(-1)));
    EXPECT_EQ(rows.join(", "), "0 rest 10, 1 pause 99, 3 talk -1, 7 sums 20, 7 restart 20");
}

INSTANTIATE_TEST_SUITE_P(PulseAndHold, Markers, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "hold" : "pulse"; });

TEST_F(Markers, ABoxUnpluggedMidRunIsMissedLoggedAndTakenBackWhenItReturns)
{
    openBox();
    startAt();
    ASSERT_EQ(pair.readValues(2), QByteArray("\x0a\x00", 2));

    pair.kill();
    ASSERT_TRUE(EventLoopWait::until([this] { return output.lost(); }, 3000)) << output.statusText().toStdString();
    EXPECT_EQ(output.statusText(), QString("Trigger box: %1, lost").arg(pair.deviceEnd()));
    controller.requestAdvance(false);
    controller.requestAdvance(false);
    ASSERT_TRUE(EventLoopWait::until([this] { return eventLog().contains("Marker 20 not sent"); }, 3000));
    EXPECT_TRUE(eventLog().contains("\tMarker 20 not sent (the trigger box is lost): start of sums (20)\n"))
        << eventLog().toStdString();

    // Back under the same name: opened again by itself.
    ASSERT_TRUE(pair.start());
    ASSERT_TRUE(EventLoopWait::until([this] { return output.state() == MarkerOutput::State::Ready; }, 3000));
    ASSERT_EQ(pair.readValues(1), QByteArray(1, '\0'));
    controller.restartCurrentStep();
    EXPECT_EQ(pair.readValues(2), QByteArray("\x14\x00", 2));
    EXPECT_EQ(controller.nr(), 2);
    EXPECT_TRUE(controller.running());
    // The label file holds the run's lines as if the box had never gone.
    EXPECT_EQ(QString::fromUtf8(documents.read(labelFile)), controller.LabelLogString());
}

TEST_F(Markers, APortThatCannotBeOpenedSaysWhyAndItsMarkersAreLoggedAsNotSent)
{
    output.apply(MarkerSettings{documents.filePath("no-such-box"), 115200, pulseMs, false, 0});
    ASSERT_TRUE(EventLoopWait::until([this] { return output.state() == MarkerOutput::State::Failed; }, 3000));
    EXPECT_EQ(output.statusText(), QString("Trigger box: %1, not opened: there is no port %1")
                                       .arg(documents.filePath("no-such-box")));
    startAt();
    ASSERT_TRUE(EventLoopWait::until([this] { return eventLog().contains("Marker 10"); }, 3000));
    EXPECT_TRUE(eventLog().contains("\tMarker 10 not sent (the trigger box could not be opened: there is no port"))
        << eventLog().toStdString();
}

TEST_F(Markers, WithoutABoxNothingIsMarkedOrCautioned)
{
    startAt();
    controller.stopRun();
    QCoreApplication::processEvents();
    EXPECT_FALSE(documents.exists("log.lbl"));
    EXPECT_EQ(output.statusText(), "No trigger box");
    EXPECT_EQ(output.startCaution(*protocol.currentProtocol()), "");
}

TEST_F(Markers, TheSheetRemembersItsSettingsAndSendsATestMarker)
{
    ASSERT_TRUE(pair.start());
    TriggerBoxViewModel sheet(output);
    sheet.present();
    sheet.setPort(" " + pair.deviceEnd() + " ");
    sheet.setSpeed(12345); // not a speed the list offers
    sheet.setPulseWidth(0);
    sheet.setEndCode(300);
    EXPECT_EQ(std::tuple(sheet.speed(), sheet.pulseWidth(), sheet.endCode()), std::tuple(115200, 1, 255));
    sheet.setPulseWidth(pulseMs);
    sheet.sendTestMarker();
    EXPECT_EQ(pair.readValues(3), QByteArray("\x00\xff\x00", 3));
    EXPECT_EQ(MarkerSettings::load().port, ""); // the test marker alone remembers nothing
    sheet.done();
    EXPECT_FALSE(sheet.presented());
    const MarkerSettings stored = MarkerSettings::load();
    EXPECT_EQ(stored, (MarkerSettings{pair.deviceEnd(), 115200, pulseMs, false, 255}));
    EXPECT_EQ(sheet.statusText(), "Trigger box: " + pair.deviceEnd() + ", ready");
}

TEST(MarkerCodes, TheNoteNamesEveryIdABoxCannotSend)
{
    // The steps' ids, the pause id, the note.
    const std::tuple<QList<qint64>, qint64, QString> cases[] = {
        {{1, 255, 17}, 200, ""},
        {{1, 300, 17}, 200, "1 step has a numeric id that a trigger box cannot send: L300 (300)"},
        {{0, 256, -3, 4}, 200, "3 steps have numeric ids that a trigger box cannot send: L0 (0), L256 (256), L-3 (-3)"},
        {{5}, 1000, "The pause id 1000 (VeskPauseLabel) is one a trigger box cannot send: pauses get no marker."},
        {{0}, 0,
         "1 step has a numeric id that a trigger box cannot send: L0 (0)\n"
         "The pause id 0 (VeskPauseLabel) is one a trigger box cannot send: pauses get no marker."},
    };
    for (const auto &[ids, pause, note] : cases) {
        ::Run run;
        QList<DeelTestje> steps;
        for (const qint64 id : ids)
            steps.append(TestProtocol::step(id, "S", QString("L%1").arg(id), 5));
        run.setSteps(steps);
        run.setVeskPauseLabel(pause);
        EXPECT_EQ(MarkerCodes::unsendableNote(run), note);
    }
}
