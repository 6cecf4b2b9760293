// The tools that read a finished label file: the BIDS export and the timeline.
#include "report/BidsEventTable.h"
#include "report/RunSessionFile.h"
#include "report/TimelinePicture.h"
#include "run/LabelFileReader.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Pauses (one across a step boundary, one not resumed), a note with a tab
// over two lines, a rating, a blood-pressure reading, a restart and a stop.
const QByteArray handWritten = "# StartTime\tLabel\n"
                               "05-12-26/14:00:00.000\tStart\n"
                               "05-12-26/14:00:00.000\trest (1) started\n"
                               "05-12-26/14:00:30.000\trest (1) paused \n"
                               "05-12-26/14:00:35.500\telectrode\tloose\n"
                               "second line\n"
                               "05-12-26/14:00:40.000\tresearch resumed in rating (2)\n"
                               "05-12-26/14:00:45.000\t How tense? 7\n"
                               "05-12-26/14:00:40.000\trating (2) started\n"
                               "05-12-26/14:01:00.000\trating (2) ended \n"
                               "05-12-26/14:01:10.000\tBlood pressure: BP: 120/80\n"
                               "05-12-26/14:01:20.000\tbp (3) cancelled, restarting... \n"
                               "05-12-26/14:01:20.000\tbp (3) started\n"
                               "05-12-26/14:02:00.000\tbp (3) paused \n"
                               "05-12-26/14:01:20.000\tbp (3) started\n"
                               "05-12-26/14:02:05.000\tbp (3) stopped \n";

// The event log of that run and an earlier one: only what went out at a row's
// own moment, as the boundary of that row, is its value.
const QByteArray markersSent = "2026-12-05 13:00:00.000\tMarker 1 sent: start of rest (1)\n"
                               "2026-12-05 14:00:00.000\tMarker 1 sent: start of rest (1)\n"
                               "2026-12-05 14:00:30.000\tMarker 99 sent: pause in rest (1)\n"
                               "2026-12-05 14:00:35.000\tMarker 2 sent: start of rating (2)\n"
                               "2026-12-05 14:00:40.000\tMarker 2 sent: resume of rating (2)\n"
                               "2026-12-05 14:01:20.000\tMarker 3 sent: restart of bp (3)\n"
                               "2026-12-05 14:02:00.000\tTrigger box /dev/ttyUSB0 lost: No such device\n"
                               "2026-12-05 14:02:00.000\tMarker 99 not sent (the trigger box is lost): pause in bp (3)\n"
                               "2026-12-05 14:02:00.000\tMarker 3 sent: start of bp (3)\n";

const auto cli = [](const QStringList &args) { return ProgramRun::cli(args); };

// Every file below a folder with its bytes.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

} // namespace

TEST(Timeline, EveryBarPauseAndMarkerTellsWhatItIsWhenPointedAt)
{
    const TimelinePicture picture(LabelFileReader::read(handWritten));
    QSet<QString> texts; // pointed at over a grid of points
    for (qreal y = 0; y < picture.heightFor(600); y += 3) {
        for (qreal x = 0; x < 600; x += 3)
            texts.insert(picture.textAt(QPointF(x, y), 600));
    }
    for (const char *expected : {"rest (1): 00:30, paused", "rating (2): 00:20, ended", "bp (3): 00:45, stopped",
                                 "Paused 00:10", "Paused 00:05, not resumed", "00:45 (14:00:45) Rating 7: How tense?",
                                 "01:10 (14:01:10) Blood pressure: BP: 120/80", "01:20 (14:01:20) Restarted bp (3)",
                                 "Stopped at 02:05"}) {
        EXPECT_TRUE(texts.contains(expected)) << expected << "\nshown: " << texts.values().join(" | ").toStdString();
    }
    // The note at 35.5 s, whole; how its half second is shown is left open.
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QString &text) {
        return text.endsWith(" (14:00:35) Note: electrode\tloose\nsecond line");
    }));
    EXPECT_EQ(TimelinePicture::durationText(3723400), "1:02:03");
}

TEST(Timeline, CliDrawsSvgAndPng)
{
    TemporaryDocuments folder;
    folder.write("run.lbl", handWritten);
    ProgramRun out = cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.svg")});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    const QByteArray svg = folder.read("run.svg");
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("bp (3)"));

    out = cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.png"), "--width", "700"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    EXPECT_EQ(QImage::fromData(folder.read("run.png"), "PNG").width(), 1400) << "drawn at twice the width";

    folder.write("cut.lbl", handWritten + "05-12-26/14:0");
    out = cli({"timeline", folder.filePath("cut.lbl"), "-o", folder.filePath("cut.png")});
    EXPECT_EQ(out.status, 0);
    EXPECT_TRUE(out.err.contains("line 17 is cut off")) << out.err.toStdString();

    for (const QByteArray &notALabelFile : {QByteArray("{\"ResearchName\": \"mini\", \"Steps\": []}\n"),
                                            QByteArray("\x01\x02junk\n\n")}) {
        folder.write("other.lbl", notALabelFile);
        out = cli({"timeline", folder.filePath("other.lbl"), "-o", folder.filePath("other.png")});
        EXPECT_EQ(out.status, 2);
        EXPECT_TRUE(out.err.contains("not a label file")) << out.err.toStdString();
    }
    EXPECT_FALSE(folder.exists("other.png"));
    EXPECT_EQ(cli({"timeline", folder.filePath("run.lbl"), "-o", folder.filePath("run.txt")}).status, 64);
    EXPECT_EQ(cli({"timeline", folder.filePath("missing.lbl"), "-o", folder.filePath("x.png")}).status, 1);
    EXPECT_FALSE(folder.exists("run.txt"));
}

TEST(BidsExport, RowsOfASessionInSecondsFromTheStartWithTheCodesSent)
{
    const auto table = BidsEventTable::of(LabelFileReader::read(handWritten), MarkerLogLine::sentIn(markersSent));
    ASSERT_TRUE(table);
    EXPECT_EQ(QString::fromUtf8(table->tsv()).split('\n'),
              QStringList({"onset\tduration\ttrial_type\tvalue\tstep_id\tstep_end\ttext\trating\tmeasurement",
                           "0.000\t30.000\trest\t1\t1\tpaused\tn/a\tn/a\tn/a",
                           "30.000\t10.000\tpause\t99\t1\tn/a\tn/a\tn/a\tn/a",
                           "35.500\t0.000\tnote\tn/a\tn/a\tn/a\telectrode\\tloose\\nsecond line\tn/a\tn/a",
                           "40.000\t20.000\trating\t2\t2\tended\tn/a\tn/a\tn/a",
                           "45.000\t0.000\tslider_rating\tn/a\t2\tn/a\tHow tense?\t7\tn/a",
                           "70.000\t0.000\tblood_pressure\tn/a\tn/a\tn/a\tn/a\tn/a\tBP: 120/80",
                           "80.000\t45.000\tbp\t3\t3\tstopped\tn/a\tn/a\tn/a",
                           "80.000\t0.000\trestart\t3\t3\tn/a\tn/a\tn/a\tn/a",
                           "120.000\t5.000\tpause\tn/a\t3\tn/a\tnot resumed\tn/a\tn/a", ""}));

    // The arithmetic scores go to the participant's own file, shared by all its runs: those of this run count.
    TemporaryDocuments folder;
    folder.write("Stress_5_1_20261205_140000.lbl", handWritten);
    folder.write("timelabelsPPID_5.lbl", "05-12-26/13:00:00.000\t1 + 1 = Correct\n"
                                         "05-12-26/14:00:50.000\t12 + 5 = Wrong\n"
                                         "05-12-26/15:00:00.000\t2 + 2 = Correct\n");
    QString reason;
    const auto withScores = RunSessionFile::read(folder.filePath("Stress_5_1_20261205_140000.lbl"), &reason);
    ASSERT_TRUE(withScores) << reason.toStdString();
    EXPECT_TRUE(QString::fromUtf8(BidsEventTable::of(*withScores)->tsv())
                    .split('\n')
                    .contains("50.000\t0.000\tarithmetic\tn/a\t2\tn/a\t12 + 5 = Wrong\tn/a\tn/a"));
    EXPECT_EQ(withScores->events.size(), LabelFileReader::read(handWritten).events.size() + 1) << "only the score of this run";
}

TEST(BidsExport, DryRunAndHandWrittenFilePassTheValidator)
{
    const QString validator = QStringLiteral(TAVOREN_SOURCE_DIR "/tools/bids/node_modules/.bin/bids-validator");
    ASSERT_TRUE(QFileInfo::exists(validator)) << "run scripts/install-deps.sh";
    TemporaryDocuments documents;
    const ProgramRun dryRun = cli({"dry-run", TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json", "--ppid",
                                   "1234", "--documents", documents.path(), "--untimed", "5"});
    ASSERT_EQ(dryRun.status, 0) << dryRun.err.toStdString();
    // A participant id and research name with characters BIDS labels refuse.
    documents.write("Stress-test.v2_7-7_1_20261205_140000.lbl", handWritten);
    documents.write("markers.lbl", markersSent);

    // The dry run's own event log, found above its label file, holds no markers.
    const QList<std::tuple<QString, QStringList, QString, QString>> exports{
        {dryRun.outLines().last(), {}, "sub-1234/beh/sub-1234_task-Miniprotocol_run-1_events.tsv", "\tbaseline\tn/a\t2\t"},
        {documents.filePath("Stress-test.v2_7-7_1_20261205_140000.lbl"), {"--event-log", documents.filePath("markers.lbl")},
         "sub-77/beh/sub-77_task-Stresstestv2_run-1_events.tsv", "\tpause\t99\t1\t"}};
    for (const auto &[labelFile, logOption, eventsFile, row] : exports) {
        const QString dataset = documents.filePath(QFileInfo(eventsFile).baseName());
        const ProgramRun out = cli(QStringList{"bids", labelFile, "--out", dataset, "--author", "A. Researcher", "--author",
                                               "B. Assistant"} + logOption);
        ASSERT_EQ(out.status, 0) << out.err.toStdString();
        EXPECT_FALSE(out.err.contains("no event log")) << out.err.toStdString();
        EXPECT_EQ(out.outLines(), QStringList{dataset + "/" + eventsFile});
        EXPECT_TRUE(QString::fromUtf8(documents.read(QFileInfo(dataset).fileName() + "/" + eventsFile)).contains(row));
        const ProgramRun check = ProgramRun::of(validator, {dataset, "--json"}, 180000);
        const QJsonObject issues = QJsonDocument::fromJson(check.out).object().value("issues").toObject();
        ASSERT_FALSE(issues.isEmpty()) << "the validator did not answer: " << (check.out + check.err).toStdString();
        EXPECT_TRUE(issues.value("errors").toArray().isEmpty() && issues.value("warnings").toArray().isEmpty())
            << QJsonDocument(issues).toJson().toStdString();
    }
}

TEST(BidsExport, RunsNumberedByTheirTimeAndAddingAgainChangesNothing)
{
    TemporaryDocuments folder;
    const QString later = folder.filePath("Stress_5_1_20261205_150000.lbl");
    const QString earlier = folder.filePath("Stress_5_1_20261205_090000.lbl");
    folder.write(QFileInfo(later).fileName(), handWritten);
    folder.write(QFileInfo(earlier).fileName(), handWritten.left(handWritten.indexOf("rest (1) paused")) + "05-12-26/14:0");
    const QString dataset = folder.filePath("dataset");

    ProgramRun out = cli({"bids", later, "--out", dataset});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    EXPECT_TRUE(out.err.contains("no Authors"));
    const QByteArray laterEvents = folder.read("dataset/sub-5/beh/sub-5_task-Stress_run-1_events.tsv");
    out = cli({"bids", earlier, "--out", dataset});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    EXPECT_TRUE(out.err.contains("line 4 is cut off")) << "a file cut by a crash is added up to the cut";
    EXPECT_EQ(folder.read("dataset/sub-5/beh/sub-5_task-Stress_run-2_events.tsv"), laterEvents);
    EXPECT_EQ(folder.read("dataset/sub-5/sub-5_scans.tsv"),
              "filename\tacq_time\n"
              "beh/sub-5_task-Stress_run-1_events.tsv\t2026-12-05T09:00:00\n"
              "beh/sub-5_task-Stress_run-2_events.tsv\t2026-12-05T15:00:00\n");
    EXPECT_EQ(folder.read("dataset/participants.tsv"), "participant_id\tppid\nsub-5\t5\n");

    const auto before = contents(dataset);
    ASSERT_EQ(cli({"bids", later, earlier, "--out", dataset}).status, 0);
    EXPECT_EQ(contents(dataset), before);

    const QString both = folder.filePath("both");
    out = cli({"bids", later, earlier, "--out", both});
    EXPECT_EQ(out.outLines(), (QStringList{both + "/sub-5/beh/sub-5_task-Stress_run-1_events.tsv",
                                           both + "/sub-5/beh/sub-5_task-Stress_run-2_events.tsv"}))
        << "the later run, renumbered when the earlier one came, and the earlier one: each once";
}

TEST(BidsExport, RefusesWhatItCannotPlace)
{
    TemporaryDocuments folder;
    folder.write("renamed.lbl", handWritten);
    folder.write("Stress_1-2_1_20261205_150000.lbl", handWritten);
    folder.write("Stress_12_1_20261205_160000.lbl", handWritten);
    folder.write("..._12_1_20261205_160000.lbl", handWritten);
    folder.write("Reken_12_1_20261205_160000.lbl", "05-12-26/14:00:00.000\t12 + 5 = Correct\n");
    const QString dataset = folder.filePath("dataset");
    ASSERT_EQ(cli({"bids", folder.filePath("Stress_1-2_1_20261205_150000.lbl"), "--out", dataset}).status, 0);
    const auto before = contents(dataset);
    for (const auto &[file, message] : QList<std::pair<QString, QString>>{
             {"renamed.lbl", "the name does not read as research_PPID_1_yyyyMMdd_HHmmss.lbl"},
             {"Stress_12_1_20261205_160000.lbl", "participant ids \"1-2\" and \"12\" both give sub-12"},
             {"..._12_1_20261205_160000.lbl", "the research name \"...\" has no letters or digits"},
             {"Reken_12_1_20261205_160000.lbl", "no \"Start\" line"}}) {
        const ProgramRun out = cli({"bids", folder.filePath(file), "--out", dataset});
        EXPECT_EQ(out.status, 2) << file.toStdString();
        EXPECT_TRUE(out.err.contains(message.toUtf8())) << out.err.toStdString();
    }
    EXPECT_EQ(contents(dataset), before) << "nothing half-added";
}
