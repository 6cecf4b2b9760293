#include "common/Clock.h"
#include "common/DocumentsFolder.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/LogTime.h"
#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"

#include <QDir>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

class LabelFileTest : public ::testing::Test
{
protected:
    LabelFileTest() { Clock::install(clock); }
    ~LabelFileTest() override { Clock::install(nullptr); }

    std::shared_ptr<ManualClock> clock =
        std::make_shared<ManualClock>(QDateTime(QDate(2026, 12, 5), QTime(14, 3, 7, 250)));
    TemporaryDocuments documents;
    ConsoleCapture console;
    LabelLog log;
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

TEST_F(LabelFileTest, NamesCannotLeaveTheirFolder)
{
    log.appendLogLine("Stress test, part 2._1234_1_20261205_140307", "line", "Stress test, part 2.");
    EXPECT_TRUE(documents.exists("Label_files/Stresstestpart2/Stresstestpart2._1234_1_20261205_140307.lbl"));
    EXPECT_EQ(LabelFileWriter::safeFileName("Caf\u00eb r\u00ebst/../x.lbl"), "Cafrst..x.lbl");
    EXPECT_EQ(LabelFileWriter::safeFolderName("Caf\u00eb-r\u00ebst_1.2"), "Caf-rst_12");
    EXPECT_EQ(LabelLog::labelFolderText("a b\\c/d,e\nf\rg.h"), "abcdefgh");
    EXPECT_EQ(LabelFileWriter::safeFolderName(QString(120, 'n')).size(), 100);
    EXPECT_EQ(LabelFileWriter::safeFileName(QString(120, 'n') + ".lbl"), QString(100, 'n')) << "the ending can go";

    // A research name of full stops only writes into the documents folder itself.
    log.appendLogLine("..._7_1_20261205_140307", "line", "...");
    EXPECT_TRUE(documents.exists("..._7_1_20261205_140307.lbl"));
    EXPECT_EQ(QDir(documents.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Label_files"});
}

TEST_F(LabelFileTest, LinesAppendInOrderAndNeverEmptyAFile)
{
    const QString file = QStringLiteral("Label_files/Study/Study_1_1_x.lbl");
    documents.write(file, "earlier run\n");
    ASSERT_TRUE(log.appendLogLine("Study_1_1_x", "05-12-26/14:03:07.250\tStart", "Study"));
    ASSERT_TRUE(log.appendLogLine("Study_1_1_x", "second in the same second", "Study"));
    EXPECT_EQ(documents.read(file), "earlier run\n05-12-26/14:03:07.250\tStart\nsecond in the same second\n");
    EXPECT_EQ(log.LabelLogString(), "05-12-26/14:03:07.250\tStart\nsecond in the same second\n");

    ASSERT_TRUE(log.appendLogLine("Study_2_1_x", "# StartTime\tLabel", "Study"));
    EXPECT_EQ(documents.read("Label_files/Study/Study_2_1_x.lbl"), "# StartTime\tLabel\n");
    EXPECT_EQ(QDir(documents.filePath("Label_files/Study")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"Study_1_1_x.lbl", "Study_2_1_x.lbl"}))
        << "no temporary file stays behind";

    // The reader finds what the writer wrote, under the same reduced names.
    const QString research = QStringLiteral("Caf\u00eb study, v2.");
    ASSERT_TRUE(log.appendLogLine(research + "_3_1_x", "# StartTime\tLabel", research));
    EXPECT_EQ(LabelFileWriter::readCompletedLabelFile(research, research + "_3_1_x"), QByteArray("# StartTime\tLabel\n"));
    EXPECT_FALSE(LabelFileWriter::readCompletedLabelFile(research, "other"));
}

TEST_F(LabelFileTest, AnUnwritableFileIsReportedAndTheLineKept)
{
    // A folder where the file should be makes the open fail.
    QDir().mkpath(documents.filePath("Label_files/Study/Study_1_1_x.lbl"));
    EXPECT_FALSE(log.appendLogLine("Study_1_1_x", "line", "Study"));
    EXPECT_TRUE(console.anyStartsWith("Fout bij het openen van het bestand om toe te voegen: "));
    DocumentsFolder::setOverride(QString());
    EXPECT_FALSE(log.appendLogLine("Study_1_1_x", "kept", "Study")) << "no documents folder";
    EXPECT_EQ(log.LabelLogString(), "line\nkept\n");
}
