#include "common/Clock.h"
#include "common/DocumentsFolder.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/LogTime.h"
#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"

#include <QDir>
#include <QLocale>
#include <QTimeZone>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class LabelFileTest : public ::testing::Test
{
protected:
    LabelFileTest()
    {
        Clock::install(clock);
    }
    ~LabelFileTest() override { Clock::install(nullptr); }

    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(
        QDateTime(QDate(2026, 12, 5), QTime(14, 3, 7, 250)));
    TemporaryDocuments documents;
    ConsoleCapture console;
};

} // namespace

TEST_F(LabelFileTest, TimeFormatsIgnoreTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(LogTime::logTimestamp(), "05-12-26/14:03:07.250");
    EXPECT_EQ(LogTime::runTimestamp(), "20261205_140307");
    EXPECT_EQ(LogTime::eventTimestamp(), "2026-12-05 14:03:07.250");
    QLocale::setDefault(QLocale::c());
    clock->set(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5, 6)));
    EXPECT_EQ(LogTime::logTimestamp(), "02-01-27/03:04:05.006");
}

TEST_F(LabelFileTest, NameReductionsAndFolders)
{
    // "Stress test, part 2." with participant 1234.
    LabelLog log;
    log.appendLogLine("Stress test, part 2._1234_1_20261205_140307", "line", "Stress test, part 2.");
    EXPECT_TRUE(documents.exists("Label_files/Stresstestpart2/Stresstestpart2._1234_1_20261205_140307.lbl"));

    EXPECT_EQ(LabelFileWriter::safeFileName("Caf\u00eb r\u00ebst/../x.lbl"), "Cafrst..x.lbl");
    EXPECT_EQ(LabelFileWriter::safeFolderName("Caf\u00eb-r\u00ebst_1.2"), "Caf-rst_12");
    EXPECT_EQ(LabelLog::labelFolderText("a b\\c/d,e\nf\rg.h"), "abcdefgh");

    const QString longName = QString(120, 'n');
    EXPECT_EQ(LabelFileWriter::safeFolderName(longName).size(), 100);
    EXPECT_EQ(LabelFileWriter::safeFileName(longName + ".lbl"), QString(100, 'n')) << "the ending can be cut off";
}

TEST_F(LabelFileTest, NameOfFullStopsWritesIntoTheDocumentsFolder)
{
    LabelLog log;
    log.appendLogLine("..._7_1_20261205_140307", "line", "...");
    EXPECT_TRUE(documents.exists("..._7_1_20261205_140307.lbl"));
    EXPECT_FALSE(documents.exists("Label_files"));
}

TEST_F(LabelFileTest, FirstWriteCreatesTheFileThenLinesAppendInOrder)
{
    LabelLog log;
    const QString path = documents.filePath("Label_files/Study/Study_1_1_20261205_140307.lbl");
    ASSERT_TRUE(log.appendLogLine("Study_1_1_20261205_140307", "# StartTime\tLabel", "Study"));
    EXPECT_EQ(documents.read("Label_files/Study/Study_1_1_20261205_140307.lbl"), "# StartTime\tLabel\n");
    EXPECT_TRUE(console.contains("Eerste log weggeschreven naar: " + QUrl::fromLocalFile(path).toString()));

    ASSERT_TRUE(log.appendLogLine("Study_1_1_20261205_140307", "05-12-26/14:03:07.250\tStart", "Study"));
    ASSERT_TRUE(log.appendLogLine("Study_1_1_20261205_140307", "second in the same second", "Study"));
    EXPECT_EQ(documents.read("Label_files/Study/Study_1_1_20261205_140307.lbl"),
              "# StartTime\tLabel\n05-12-26/14:03:07.250\tStart\nsecond in the same second\n");
    EXPECT_TRUE(console.contains("Nieuwe tijd en datum toegevoegd aan: " + QUrl::fromLocalFile(path).toString()));
    EXPECT_EQ(log.LabelLogString(),
              "# StartTime\tLabel\n05-12-26/14:03:07.250\tStart\nsecond in the same second\n");
    const QStringList leftovers = QDir(documents.filePath("Label_files/Study")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(leftovers, QStringList{"Study_1_1_20261205_140307.lbl"}) << "no temporary file stays behind";
}

TEST_F(LabelFileTest, AppendingNeverEmptiesAnExistingFile)
{
    documents.write("Label_files/Study/Study_1_1_x.lbl", "earlier run\n");
    LabelLog log;
    log.appendLogLine("Study_1_1_x", "this run", "Study");
    EXPECT_EQ(documents.read("Label_files/Study/Study_1_1_x.lbl"), "earlier run\nthis run\n");
    EXPECT_EQ(log.LabelLogString(), "this run\n");
}

TEST_F(LabelFileTest, WithoutDocumentsTheLineStaysInMemory)
{
    DocumentsFolder::setOverride(QString());
    LabelLog log;
    EXPECT_FALSE(log.appendLogLine("Study_1_1_x", "kept", "Study"));
    EXPECT_EQ(log.LabelLogString(), "kept\n");
}

TEST_F(LabelFileTest, UnwritableFileIsReportedAndTheRunGoesOn)
{
    // A folder where the file should be makes the open fail.
    QDir().mkpath(documents.filePath("Label_files/Study/Study_1_1_x.lbl"));
    LabelLog log;
    EXPECT_FALSE(log.appendLogLine("Study_1_1_x", "line", "Study"));
    EXPECT_TRUE(console.anyStartsWith("Fout bij het openen van het bestand om toe te voegen: "));
    EXPECT_EQ(log.LabelLogString(), "line\n");
}

TEST_F(LabelFileTest, EventLogLines)
{
    LabelFileWriter::writeEventLog("Background");
    clock->advanceMs(1500);
    LabelFileWriter::writeEventLog("Active");
    EXPECT_EQ(documents.read("log.lbl"), "2026-12-05 14:03:07.250\tBackground\n2026-12-05 14:03:08.750\tActive\n");
}

TEST_F(LabelFileTest, ReaderFindsWhatTheWriterWrote)
{
    LabelLog log;
    const QString research = QStringLiteral("Caf\u00eb study, v2.");
    const QString base = research + QStringLiteral("_42_1_20261205_140307");
    log.appendLogLine(base, "# StartTime\tLabel", research);
    const auto bytes = LabelFileWriter::readCompletedLabelFile(research, base);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "# StartTime\tLabel\n");
    EXPECT_TRUE(console.contains("Successfully read 18 bytes from log file"));

    EXPECT_FALSE(LabelFileWriter::readCompletedLabelFile(research, "other"));
    EXPECT_TRUE(console.anyStartsWith("Error reading log file: "));
}
