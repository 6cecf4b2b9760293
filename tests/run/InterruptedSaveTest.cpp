#include "common/DocumentsFolder.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"
#include "run/LabelFileWriter.h"
#include "support/ConsoleCapture.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TestSeed.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <random>

namespace {

// Gives run this name, version "1" and stepCount rest steps, for files that take a while to write.
void fillLarge(::Run &run, const QString &researchName, int stepCount)
{
    QList<DeelTestje> steps;
    for (int i = 0; i < stepCount; ++i) {
        steps.append(TestProtocol::step(i, QString("Step %1").arg(i), "rest", 60, {{"Timer (drone side)", {}}}));
        steps.last().description = QStringLiteral("Sit still and breathe calmly until the next step begins.");
    }
    run.setResearchName(researchName);
    run.setVersion(QStringLiteral("1"));
    run.setVeskPauseLabel(1000);
    run.setIDlist({{QStringLiteral("rest"), 1}});
    run.setSteps(steps);
}

// Each test runs its body once more in a user and mount namespace of its own,
// on a 64 KiB tmpfs whose folder the run inside finds in TAVOREN_SMALL_DISK.
class FullDisk : public ::testing::Test
{
protected:
    // True in the run on the small disk, with the documents folder on it; outside, runs the
    // test there and checks that it passed, or skips it where no such disk can be made.
    bool onSmallDisk()
    {
        if (qEnvironmentVariableIsSet("TAVOREN_SMALL_DISK")) {
            DocumentsFolder::setOverride(qEnvironmentVariable("TAVOREN_SMALL_DISK"));
            return true;
        }
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        QTemporaryDir folder;
        const ProgramRun run = ProgramRun::of(
            "unshare", {"-Urm", "sh", "-c",
                        "mount -t tmpfs -o size=64k none \"$1\" && export TAVOREN_SMALL_DISK=\"$1\" && "
                        "shift && exec \"$@\"",
                        "sh", folder.path(), QCoreApplication::applicationFilePath(),
                        QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        const std::string output = run.out.toStdString() + run.err.toStdString();
        if (run.out.contains("[==========]"))
            EXPECT_TRUE(run.status == 0 && run.out.contains("[  PASSED  ] 1 test.")) << output;
        else if (qEnvironmentVariable("CI") == QLatin1String("true")) // there it must be noticed, not passed over
            ADD_FAILURE() << "CI=true, and no tmpfs in a user namespace here: " << output;
        else
            [&] { GTEST_SKIP() << "no tmpfs in a user namespace here: " << output; }();
        return false;
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ConsoleCapture console;
};

} // namespace

TEST_F(FullDisk, AProtocolThatDoesNotFitIsReportedAndTheEarlierFileStaysWhole)
{
    if (!onSmallDisk())
        return;
    CurrentProtocol current;
    ProtocolLibrary library(current);
    ::Run &run = *current.currentProtocol();
    fillLarge(run, QStringLiteral("Study"), 3);
    ASSERT_EQ(library.saveProtocol(std::nullopt), std::optional<QString>("Study_1.json"));
    const QString folder = *ProtocolLibrary::protocolFolder();
    const QString path = QDir(folder).filePath("Study_1.json");
    const QByteArray earlier = read(path);
    ASSERT_FALSE(earlier.isEmpty());

    // Some 200 KiB on a 64 KiB disk: under the same name, then under a new one.
    fillLarge(run, QStringLiteral("Study"), 2000);
    console.clear();
    EXPECT_EQ(library.saveProtocol(QStringLiteral("Study_1.json")), std::nullopt);
    const QString full = qt_error_string(ENOSPC);
    EXPECT_TRUE(console.contains("Could not save json due to teh following error: " + full))
        << console.lines().join('\n').toStdString();
    EXPECT_FALSE(console.anyStartsWith("JSON correctly saved to: "));
    EXPECT_EQ(read(path), earlier);
    fillLarge(run, QStringLiteral("Renamed"), 2000);
    EXPECT_EQ(library.saveProtocol(QStringLiteral("Study_1.json")), std::nullopt);
    EXPECT_EQ(read(path), earlier) << "the original goes only after the new file is written";

    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Study_1.json"})
        << "nothing half-written stays behind";
}

TEST_F(FullDisk, ALabelLineThatDoesNotFitIsReportedAndLeavesNoPartBehind)
{
    if (!onSmallDisk())
        return;
    const QString name = QStringLiteral("Study_42_1_20261205_100000.lbl");
    const QString path = *LabelFileWriter::labelFilePath(name, "Study");
    ASSERT_TRUE(LabelFileWriter::writeLabelFileLine(name, "Study", "# StartTime\tLabel"));
    const QByteArray earlier = read(path);
    // Takes every block that is left.
    QFile filler(DocumentsFolder::path()->append("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) == 4096) {
    }

    // Longer than the room left in the file's last block: part of it fits.
    console.clear();
    EXPECT_FALSE(LabelFileWriter::writeLabelFileLine(name, "Study", QString(6000, 'x')));
    EXPECT_TRUE(console.anyStartsWith("Fout bij het schrijven naar bestand: ")) << console.lines().join('\n').toStdString();
    EXPECT_EQ(read(path), earlier);
    EXPECT_FALSE(LabelFileWriter::writeLabelFileLine("Other.lbl", "Study", "line"));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{name})
        << "a new file appears whole or not at all";

    // Room again: the next line follows the earlier ones, with nothing in between.
    ASSERT_TRUE(filler.remove());
    EXPECT_TRUE(LabelFileWriter::writeLabelFileLine(name, "Study", "05-12-26/10:00:00.000\tStart"));
    EXPECT_EQ(read(path), earlier + "05-12-26/10:00:00.000\tStart\n");
}

TEST(SaveCrash, AConvertKilledAtAnyMomentLeavesTheOldFileOrTheNewOneWhole)
{
    TemporaryDocuments documents;
    QStringList inputs;
    QByteArray whole[2]; // what convert writes for each input
    for (const QString name : {"Alpha", "Beta"}) {
        ::Run run;
        fillLarge(run, name, 4000);
        const QByteArray encoded = ProtocolWriter::encode(run);
        documents.write(name + ".json", encoded);
        inputs << documents.filePath(name + ".json");
        whole[inputs.size() - 1] = ProtocolWriter::encode(*ProtocolReader::decode(encoded).run);
    }
    ASSERT_NE(whole[0], whole[1]);
    QDir().mkpath(documents.filePath("Research_protocols"));
    const QString out = documents.filePath("Research_protocols/study.json");

    // One whole run writes the first version and tells how long a run takes here.
    QElapsedTimer clock;
    clock.start();
    const ProgramRun first = ProgramRun::cli({"convert", inputs[0], out});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    const int runMs = int(std::max<qint64>(clock.elapsed(), 20));

    const unsigned seed = testSeed();
    std::mt19937 random(seed);
    // Past the end of a run too, so that kills fall during the write and the rename.
    std::uniform_int_distribution<int> killAfter(0, runMs * 3 / 2);
    int current = 0;
    int killed = 0;
    for (int i = 0; i < 40; ++i) {
        const int next = 1 - current;
        QProcess convert;
        convert.start(ProgramRun::cliProgram(), {"convert", inputs[next], out});
        ASSERT_TRUE(convert.waitForStarted());
        const int ms = killAfter(random);
        if (!convert.waitForFinished(ms)) {
            convert.kill();
            ASSERT_TRUE(convert.waitForFinished());
            ++killed;
        }
        const QByteArray now = documents.read("Research_protocols/study.json");
        ASSERT_TRUE(now == whole[current] || now == whole[next])
            << "seed " << seed << " (TAVOREN_SEED repeats it), run " << i << " killed after " << ms << " ms left "
            << now.size() << " bytes";
        if (now == whole[next])
            current = next;
    }
    EXPECT_GT(killed, 0) << "every run had ended before its kill";

    // Whatever a killed run left beside it, the library lists only the protocol.
    CurrentProtocol protocol;
    ProtocolLibrary library(protocol);
    library.listProtocols();
    EXPECT_EQ(library.configFiles(), QStringList{"study.json"})
        << QDir(documents.filePath("Research_protocols")).entryList(QDir::Files | QDir::Hidden).join(", ").toStdString();
    EXPECT_TRUE(library.loadProtocol("study.json").run);
}
