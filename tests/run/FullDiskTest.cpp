#include "common/DocumentsFolder.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolWriter.h"
#include "run/LabelFileWriter.h"
#include "support/ConsoleCapture.h"
#include "support/LargeProtocol.h"
#include "support/ProgramRun.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

// Each test runs its body again on a 64 KiB tmpfs of its own (see SmallDisk).
namespace {

class FullDisk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (SmallDisk::inside())
            return;
        const QString unavailable = SmallDisk::unavailableReason();
        // In CI a machine that cannot run these must be noticed, not passed over.
        if (!unavailable.isEmpty() && qEnvironmentVariable("CI") == QLatin1String("true"))
            FAIL() << "CI=true, and the full-disk tests cannot run: " << unavailable.toStdString();
        if (!unavailable.isEmpty())
            GTEST_SKIP() << unavailable.toStdString();
    }

    // True in the run on the small disk, with the documents folder on it;
    // outside, runs the test there and checks that it passed.
    bool onSmallDisk()
    {
        if (const auto folder = SmallDisk::inside()) {
            DocumentsFolder::setOverride(*folder);
            return true;
        }
        const ProgramRun run = SmallDisk::runCurrentTestInside(64);
        EXPECT_TRUE(SmallDisk::passed(run)) << run.out.toStdString() << run.err.toStdString();
        return false;
    }

    static std::string read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // Takes every block that is left.
    static void fillUp(const QString &path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (file.write(block) == block.size()) {
        }
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
    LargeProtocol::fill(run, QStringLiteral("Study"), 3);
    ASSERT_EQ(library.saveProtocol(std::nullopt), std::optional<QString>("Study_1.json"));
    const QString folder = *ProtocolLibrary::protocolFolder();
    const QString path = QDir(folder).filePath("Study_1.json");
    const std::string earlier = read(path);
    ASSERT_FALSE(earlier.empty());

    // Some 200 KiB on a 64 KiB disk: under the same name, then under a new one.
    LargeProtocol::fill(run, QStringLiteral("Study"), 2000);
    console.clear();
    EXPECT_EQ(library.saveProtocol(QStringLiteral("Study_1.json")), std::nullopt);
    const QString full = qt_error_string(ENOSPC);
    EXPECT_TRUE(console.contains("Could not save json due to teh following error: " + full))
        << console.lines().join('\n').toStdString();
    EXPECT_FALSE(console.anyStartsWith("JSON correctly saved to: "));
    EXPECT_EQ(read(path), earlier);

    LargeProtocol::fill(run, QStringLiteral("Renamed"), 2000);
    EXPECT_EQ(library.saveProtocol(QStringLiteral("Study_1.json")), std::nullopt);
    EXPECT_EQ(read(path), earlier) << "the original goes only after the new file is written";

    // The command line's convert fails the same way.
    QTemporaryDir outside;
    const QString large = outside.filePath("large.json");
    {
        QFile file(large);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ProtocolWriter::encode(run));
    }
    const ProgramRun convert =
        ProgramRun::of(QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli"), {"convert", large, path});
    EXPECT_EQ(convert.status, 1);
    EXPECT_TRUE(convert.err.endsWith("tavoren-cli: " + path.toUtf8() + ": " + full.toUtf8() + "\n"))
        << convert.err.toStdString();
    EXPECT_EQ(read(path), earlier);

    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"Study_1.json"})
        << "nothing half-written stays behind";
    library.listProtocols();
    EXPECT_EQ(library.configFiles(), QStringList{"Study_1.json"});
}

TEST_F(FullDisk, ALabelLineThatDoesNotFitIsReportedAndLeavesNoPartBehind)
{
    if (!onSmallDisk())
        return;
    const QString name = QStringLiteral("Study_42_1_20261205_100000.lbl");
    const QString path = *LabelFileWriter::labelFilePath(name, "Study");
    ASSERT_TRUE(LabelFileWriter::writeLabelFileLine(name, "Study", "# StartTime\tLabel"));
    const std::string earlier = read(path);
    const QString filler = DocumentsFolder::path()->append("/filler");
    fillUp(filler);

    // Longer than the room left in the file's last block: part of it fits.
    console.clear();
    EXPECT_FALSE(LabelFileWriter::writeLabelFileLine(name, "Study", QString(6000, 'x')));
    EXPECT_TRUE(console.anyStartsWith("Fout bij het schrijven naar bestand: ")) << console.lines().join('\n').toStdString();
    EXPECT_EQ(read(path), earlier);

    EXPECT_FALSE(LabelFileWriter::writeLabelFileLine("Other.lbl", "Study", "line"));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList{name})
        << "a new file appears whole or not at all";

    // Room again: the next line follows the earlier ones, with nothing in between.
    ASSERT_TRUE(QFile::remove(filler));
    EXPECT_TRUE(LabelFileWriter::writeLabelFileLine(name, "Study", "05-12-26/10:00:00.000\tStart"));
    EXPECT_EQ(read(path), earlier + "05-12-26/10:00:00.000\tStart\n");
}
