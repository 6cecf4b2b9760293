// The timekeeper killed outright in the middle of a run, again and again:
// every label line it said it had written is in the file, whole and in order.
#include "run/LabelFileReader.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TestSeed.h"
#include "support/TimekeeperProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

constexpr int stepCount = 30;

// One-second steps, and the label file's lines in the order the run writes them, each stamp as "@".
std::pair<TestProtocol, QStringList> quickSteps()
{
    TestProtocol protocol{"Quick steps", "1", false, {}};
    QStringList lines{"# StartTime\tLabel", "@\tStart"};
    for (int n = 1; n <= stepCount; ++n) {
        protocol.steps.append(TestProtocol::step(n, "Step " + QString::number(n), "s" + QString::number(n), 1));
        lines << QStringLiteral("@\ts%1 (%1) started").arg(n) << QStringLiteral("@\ts%1 (%1) ended ").arg(n);
    }
    return {protocol, lines};
}

// How many writes to label files whose path holds `path` the timekeeper reported as done.
qsizetype reportedWrites(const QStringList &output, const QString &path)
{
    return std::count_if(output.begin(), output.end(), [&](const QString &line) {
        return (line.startsWith("Eerste log weggeschreven naar: ") || line.startsWith("Nieuwe tijd en datum toegevoegd aan: "))
               && line.contains(path);
    });
}

} // namespace

TEST(TimekeeperKill, EveryLineReportedWrittenIsInTheFileWholeAfterASigkill)
{
    const unsigned seed = testSeed();
    std::printf("seed %u (TAVOREN_SEED=%u repeats it)\n", seed, seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killAfterMs(0, 6000);
    const auto [protocol, expected] = quickSteps();
    const QRegularExpression stamp(QStringLiteral("^\\d\\d-\\d\\d-\\d\\d/\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(?=\\t)"));

    for (int round = 1; round <= 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TemporaryDocuments documents;
        documents.write("Research_protocols/quick.json", protocol.json());
        TimekeeperProcess timekeeper(documents.path());
        ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("runRow quick.json"); }));
        ASSERT_TRUE(timekeeper.type("ppidField", QString::number(round)));
        ASSERT_TRUE(timekeeper.click("startButton"));
        const int waitMs = killAfterMs(random);
        QTest::qWait(waitMs);
        timekeeper.kill();

        const QDir folder(documents.filePath("Label_files/Quicksteps"));
        const QStringList files = folder.entryList(QDir::Files | QDir::Hidden);
        ASSERT_LE(files.size(), 1) << files.join(' ').toStdString();
        if (files.isEmpty()) {
            EXPECT_EQ(reportedWrites(timekeeper.lines(), "/Label_files/"), 0);
            continue;
        }
        const QByteArray bytes = documents.read("Label_files/Quicksteps/" + files.first());
        ASSERT_TRUE(bytes.endsWith('\n')) << "a line cut short after " << waitMs << " ms";
        QStringList lines = QString::fromUtf8(bytes.chopped(1)).split('\n');
        // The file is made with its heading; each line after it is one append,
        // and may be on the disk before its report reached the console.
        const qsizetype reported = reportedWrites(timekeeper.lines(), "/Label_files/Quicksteps/" + files.first());
        EXPECT_TRUE(lines.size() == reported || lines.size() == reported + 1)
            << lines.size() << " lines, " << reported << " reported, killed after " << waitMs << " ms";
        EXPECT_EQ(lines.replaceInStrings(stamp, "@"), expected.mid(0, lines.size()));
    }
}

namespace {

enum class Ending { kill, terminate, quitQuestion, cutRecord };

// Where the run is when the timekeeper ends, and how it ends.
struct KillPoint
{
    const char *name;
    Ending ending;
    int step;            // 1-based, where the run was
    const char *label;
    bool paused;
    bool close;          // "Close it" instead of "Resume"
};

void PrintTo(const KillPoint &point, std::ostream *out) { *out << point.name; }

TestProtocol resumeProtocol()
{
    using S = TestProtocol;
    return {"Resume", "1", false,
            {S::step(1, "First", "first", 2), S::step(2, "Rest", "rest", 8), S::step(3, "Wait", "wait", 0),
             S::step(4, "Sums", "sums", 8, {{"Arithmetic tasks", {"TTR_addition_problems_1.txt"}}}),
             S::step(5, "Last", "last", 2)}};
}

// Takes the run started as participant 7 to the point.
bool reach(TimekeeperProcess &timekeeper, const KillPoint &point)
{
    const auto at = [&](const char *name) {
        return timekeeper.waitUntil([&] { return timekeeper.text("stepName") == name; }, 10000);
    };
    if (!at("Rest"))
        return false;
    if (point.step == 2 && std::string(point.name) == "boundary")
        return true;
    if (point.paused && !timekeeper.click("pauseButton"))
        return false;
    if (point.step >= 3 && !(timekeeper.click("doneButton") && at("Wait")))
        return false;
    if (point.step >= 4 && !(timekeeper.click("doneButton") && at("Sums") && timekeeper.click("correctButton")))
        return false;
    QTest::qWait(1500);
    return true;
}

QStringList linesOf(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts);
}

QDateTime timeOf(const QString &line)
{
    return QDateTime::fromString(line.section('\t', 0, 0), "dd-MM-yy/HH:mm:ss.zzz").addYears(100);
}

} // namespace

using TimekeeperKillPoint = ::testing::TestWithParam<KillPoint>;

TEST_P(TimekeeperKillPoint, NextStartOffersTheRunAndTakesItUpInTheSameLabelFile)
{
    const KillPoint &point = GetParam();
    TemporaryDocuments documents;
    documents.write("Research_protocols/resume.json", resumeProtocol().json());
    const auto labelFile = [&] {
        const QStringList files = QDir(documents.filePath("Label_files/Resume")).entryList({"Resume_7_*.lbl"}, QDir::Files);
        return files.size() == 1 ? "Label_files/Resume/" + files.first() : QString();
    };
    QDateTime ended;
    {
        TimekeeperProcess timekeeper(documents.path());
        ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("runRow resume.json"); }));
        // A second timekeeper on the same documents refuses to start.
        const ProgramRun second = ProgramRun::of(TAVOREN_BINARY_DIR "/apps/tavoren/tavoren",
                                                 {"--headless", "--documents", documents.path()});
        EXPECT_EQ(second.status, 1);
        EXPECT_TRUE(second.err.contains("Another timekeeper (tavoren, process ")) << second.err.toStdString();
        EXPECT_TRUE(second.err.contains(documents.path().toUtf8()));
        ASSERT_TRUE(timekeeper.type("ppidField", "7"));
        ASSERT_TRUE(timekeeper.click("startButton"));
        ASSERT_TRUE(reach(timekeeper, point)) << timekeeper.text("stepName").toStdString();
        switch (point.ending) {
        case Ending::kill:
        case Ending::cutRecord: timekeeper.kill(); break;
        case Ending::terminate:
            timekeeper.terminate();
            EXPECT_EQ(timekeeper.waitForExit(), 0);
            break;
        case Ending::quitQuestion:
            EXPECT_EQ(timekeeper.ask("close"), "still open");
            EXPECT_TRUE(timekeeper.shown("quitAlert"));
            EXPECT_EQ(timekeeper.text("quitMessage"),
                      "A run is in progress. Quit anyway? The label file is kept and the run can be resumed.");
            ASSERT_TRUE(timekeeper.click("alertButton Cancel"));
            EXPECT_FALSE(timekeeper.shown("quitAlert"));
            EXPECT_EQ(timekeeper.ask("close"), "still open");
            EXPECT_TRUE(timekeeper.shown("quitAlert"));
            timekeeper.command("click alertButton Quit");
            EXPECT_EQ(timekeeper.waitForExit(), 0);
            break;
        }
        ended = QDateTime::currentDateTime();
    }
    ASSERT_FALSE(labelFile().isEmpty());
    const QByteArray before = documents.read(labelFile());
    ASSERT_TRUE(before.endsWith('\n'));

    if (point.ending == Ending::cutRecord) {
        // A record cut in half (written by anything but the timekeeper) is not offered.
        const QDir data(qEnvironmentVariable("XDG_DATA_HOME") + "/tavoren");
        for (const QString &name : data.entryList({"run-*.json"}, QDir::Files)) {
            QFile record(data.filePath(name));
            ASSERT_TRUE(record.open(QIODevice::ReadWrite));
            record.resize(record.size() / 2);
        }
        TimekeeperProcess timekeeper(documents.path());
        ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("startButton"); }));
        QTest::qWait(500);
        EXPECT_FALSE(timekeeper.shown("startAlert"));
        return;
    }

    TimekeeperProcess timekeeper(documents.path());
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("alertButton Close it"); }));
    const QString offer = QStringLiteral("The run of participant 7 (resume) was interrupted in step %1 \"%2\" of 5, at about ")
                              .arg(point.step).arg(point.label);
    EXPECT_EQ(timekeeper.text("alertMessage").left(offer.size()), offer);
    ASSERT_TRUE(timekeeper.click(point.close ? "alertButton Close it" : "alertButton Resume"));
    const QString tag = QStringLiteral("%1 (%2) ").arg(point.label).arg(point.step);
    QStringList expected;
    if (!point.paused)
        expected << tag + "started" << tag + "paused ";
    const int noteAt = int(expected.size());
    expected << "The timekeeper stopped unexpectedly at about " << (point.close ? tag + "started" : "research resumed in " + tag.trimmed());
    if (point.close)
        expected << tag + "stopped ";
    QStringList added;
    ASSERT_TRUE(timekeeper.waitUntil([&] {
        added = linesOf(documents.read(labelFile()).mid(before.size()));
        return added.size() >= expected.size();
    }));
    added = added.mid(0, expected.size());
    QStringList texts;
    for (const QString &line : added)
        texts << line.section('\t', 1);
    texts[noteAt].truncate(expected.at(noteAt).size()); // the note goes on with the time
    EXPECT_EQ(texts, expected);
    // The pause and the note are at the last tick the timekeeper lived.
    const QDateTime lastAlive = timeOf(added.at(noteAt));
    EXPECT_LE(lastAlive.msecsTo(ended), 2500) << added.at(noteAt).toStdString();
    EXPECT_GE(lastAlive.msecsTo(ended), -500);
    EXPECT_TRUE(added.at(noteAt).contains(lastAlive.toString("HH:mm:ss") + "; the run was paused"));
    EXPECT_EQ(timeOf(added.at(point.paused ? noteAt : 1)), lastAlive);

    if (point.close) {
        const QByteArray whole = documents.read(labelFile());
        EXPECT_TRUE(whole.endsWith('\n'));
        EXPECT_FALSE(LabelFileReader::read(whole).error.has_value());
        EXPECT_FALSE(timekeeper.shown("startAlert")) << "closed for good";
        return;
    }
    for (int i = 0; i < 8 && !timekeeper.shown("completionOverlay"); ++i) {
        timekeeper.click("doneButton");
        QTest::qWait(300);
    }
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("completionOverlay"); }));

    // The export shows the gap as a pause with its note, and passes the validator.
    const QString dataset = documents.filePath("dataset");
    const ProgramRun bids = ProgramRun::cli({"bids", documents.filePath(labelFile()), "--out", dataset, "--author", "A. Researcher"});
    ASSERT_EQ(bids.status, 0) << bids.err.toStdString();
    QFile events(bids.outLines().value(0));
    ASSERT_TRUE(events.open(QIODevice::ReadOnly)) << bids.out.toStdString();
    const QStringList rows = linesOf(events.readAll());
    const auto note = std::find_if(rows.begin(), rows.end(), [](const QString &row) {
        return row.section('\t', 2, 2) == "note" && row.contains("The timekeeper stopped unexpectedly");
    });
    ASSERT_NE(note, rows.end()) << rows.join('\n').toStdString();
    const double noteOnset = note->section('\t', 0, 0).toDouble();
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const QString &row) {
        const double onset = row.section('\t', 0, 0).toDouble(), duration = row.section('\t', 1, 1).toDouble();
        return row.section('\t', 2, 2) == "pause" && onset <= noteOnset && onset + duration > noteOnset;
    })) << rows.join('\n').toStdString();
    const QString validator = QStringLiteral(TAVOREN_SOURCE_DIR "/tools/bids/node_modules/.bin/bids-validator");
    ASSERT_TRUE(QFileInfo::exists(validator)) << "run scripts/install-deps.sh";
    const ProgramRun check = ProgramRun::of(validator, {dataset, "--json"}, 180000);
    const QJsonObject issues = QJsonDocument::fromJson(check.out).object().value("issues").toObject();
    ASSERT_FALSE(issues.isEmpty()) << (check.out + check.err).toStdString();
    EXPECT_TRUE(issues.value("errors").toArray().isEmpty()) << QJsonDocument(issues).toJson().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    TimekeeperKill, TimekeeperKillPoint,
    ::testing::Values(KillPoint{"timedStep", Ending::kill, 2, "rest", false, false},
                      KillPoint{"paused", Ending::kill, 2, "rest", true, false},
                      KillPoint{"untimedStep", Ending::kill, 3, "wait", false, false},
                      KillPoint{"task", Ending::kill, 4, "sums", false, false},
                      KillPoint{"boundary", Ending::kill, 2, "rest", false, false},
                      KillPoint{"closeIt", Ending::kill, 2, "rest", false, true},
                      KillPoint{"cutRecord", Ending::cutRecord, 2, "rest", false, false},
                      KillPoint{"sigterm", Ending::terminate, 2, "rest", false, false},
                      KillPoint{"quitQuestion", Ending::quitQuestion, 2, "rest", false, false}),
    [](const ::testing::TestParamInfo<KillPoint> &info) { return std::string(info.param.name); });
