#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

ProgramRun dryRun(const QStringList &args)
{
    return ProgramRun::of(QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli"), QStringList{"dry-run"} + args);
}

QDateTime timeOf(const QString &line)
{
    return QLocale::c().toDateTime(line.section('\t', 0, 0), "dd-MM-yy/HH:mm:ss.zzz").addYears(100);
}

} // namespace

TEST(DryRun, BundledProtocolGivesTheLabelFileOfARealRun)
{
    TemporaryDocuments documents;
    const ProgramRun out = dryRun({QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json"),
                                     "--ppid", "1234", "--documents", documents.path(), "--untimed", "5"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    ASSERT_FALSE(out.outLines().isEmpty());
    const QString path = out.outLines().last();
    EXPECT_TRUE(path.startsWith(documents.path() + "/Label_files/Miniprotocol/Miniprotocol_1234_1_")) << path.toStdString();
    EXPECT_TRUE(out.outLines().contains("state: done"));
    EXPECT_TRUE(out.outLines().contains("state: pause")) << "the rating step's warning pauses the run";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.at(0), "# StartTime\tLabel");
    const QDateTime t0 = timeOf(lines.at(1));
    ASSERT_TRUE(t0.isValid());
    const auto at = [&](qint64 s) { return QLocale::c().toString(t0.addSecs(s), "dd-MM-yy/HH:mm:ss.zzz"); };
    const QStringList expected{
        "# StartTime\tLabel",
        at(0) + "\tStart",
        at(0) + "\twelcome (1) started",
        at(5) + "\twelcome (1) ended ",
        at(5) + "\tbaseline (2) started",
        at(125) + "\tbaseline (2) ended ",
        at(125) + "\tbreathing (3) started",
        at(185) + "\tbreathing (3) ended ",
        at(185) + "\tarithmetic (4) started",
        at(275) + "\tarithmetic (4) ended ",
        at(275) + "\trating (5) started",
        at(280) + "\trating (5) paused ",
        at(275) + "\trating (5) started",
        at(280) + "\trating (5) ended ",
        at(280) + "\tresearch resumed in recovery (6)",
        at(280) + "\trecovery (6) started",
        at(400) + "\trecovery (6) ended ",
        at(400) + "\tend (7) started",
        at(405) + "\tend (7) ended ",
    };
    EXPECT_EQ(lines, expected);
}

TEST(DryRun, PrintsEveryStateTheDroneIsShownInOrder)
{
    TemporaryDocuments documents;
    // An exercise name with markers a formatter would take for its own.
    documents.write("Exercises/short.json",
                    R"({"exercises":[{"name":"Squat %2","duration":3,"imageName":"a"},{"name":"B %1","duration":2,"imageName":"b"}]})");
    const TestProtocol protocol{
        "Preview", "1", true,
        {TestProtocol::step(1, "Rest", "rest", 3, {{"Timer (drone side)", {}}}),
         TestProtocol::step(2, "Quiet", "quiet", 10),
         TestProtocol::step(3, "Read", "read", 0, {{"Text (drone side)", {"Read this"}}}),
         TestProtocol::step(4, "Breathe", "breathe", 4, {{"Breathing (drone side)", {" Slow"}}}),
         TestProtocol::step(5, "Look", "look", 2, {{"Images (drone side)", {}}}),
         TestProtocol::step(6, "Rate", "rate", 2, {{"Slider (drone side)", {"How calm?"}}}),
         TestProtocol::step(7, "Odd", "odd", 2, {{"Mystery view", {}}}),
         TestProtocol::step(8, "Sums", "sums", 0, {{"Arithmetic tasks", {"TTR_addition_problems_1.txt"}}}),
         TestProtocol::step(9, "Move", "move", 10, {{"Exercises", {"short.json"}}}),
         TestProtocol::step(10, "End", "end", 3)}};
    documents.write("preview.json", protocol.json());
    const ProgramRun out =
        dryRun({documents.filePath("preview.json"), "--ppid", "7", "--documents", documents.path(), "--untimed", "5"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();

    QStringList states;
    for (const QString &line : out.outLines()) {
        if (line.startsWith("state: "))
            states.append(line.mid(7));
    }
    const QStringList expected{
        "timer: 2", // one less than the seconds left
        "black",    // a step without views; the rest's timer sends nothing more
        "text: Read this",
        "breathing: 3.75, 0.0, 3.75, 0.0",
        "images: images.txt",
        "slider: How calm?",
        "pause",    // the rating did not come: the warning pauses the run
        "black",    // the unknown view appears while paused
        "resume",   // "Proceed anyway", then the run is continued
        "black",    // the step's state: nothing it knows
        "text: 2 + 5 =",
        "exercise: Squat %2 - 3s",
        "exercise: Squat %2",
        "exercise: Squat %2 - 2s",
        "exercise: Squat %2 - 1s",
        "exercise: Squat %2 - 0s",
        "exercise: B %1 - 2s",
        "exercise: B %1 - 1s",
        "exercise: B %1 - 0s",
        "exercises completed",
        "black",
        "done",
    };
    EXPECT_EQ(states, expected);

    const QString labels = QString::fromUtf8(documents.read(out.outLines().last().mid(documents.path().size() + 1)));
    EXPECT_TRUE(labels.contains("\tExercise Started: Squat %2 (3s)\n"));
    EXPECT_TRUE(labels.contains("\tExercise Completed: B %1\n"));
    EXPECT_TRUE(labels.contains("\tAll Exercises Completed (Total: 5s)\n"));
}

TEST(DryRun, RefusesBadInput)
{
    TemporaryDocuments documents;
    documents.write("broken.json", "{");
    EXPECT_EQ(dryRun({documents.filePath("broken.json"), "--ppid", "1", "--documents", documents.path()}).status, 2);
    EXPECT_EQ(dryRun({QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json"), "--ppid", "1a",
                      "--documents", documents.path()})
                  .status,
              2);
    EXPECT_EQ(dryRun({QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json")}).status, 64);
    EXPECT_FALSE(documents.exists("Label_files"));
}
