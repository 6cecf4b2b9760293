#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString mini = QStringLiteral(TAVOREN_SOURCE_DIR "/resources/Research_protocols/mini.json");
const QString timeFormat = QStringLiteral("dd-MM-yy/HH:mm:ss.zzz");

ProgramRun dryRun(const QStringList &args)
{
    return ProgramRun::cli(QStringList{"dry-run"} + args);
}

// The label file the run's last output line names, in lines.
QStringList labelLines(const TemporaryDocuments &documents, const ProgramRun &run)
{
    const QString path = run.outLines().value(run.outLines().size() - 1);
    return QString::fromUtf8(documents.read(path.mid(documents.path().size() + 1))).split('\n');
}

} // namespace

TEST(DryRun, BundledProtocolGivesTheLabelFileOfARealRun)
{
    TemporaryDocuments documents;
    const ProgramRun out = dryRun({mini, "--ppid", "1234", "--documents", documents.path(), "--untimed", "5"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    EXPECT_TRUE(out.outLines().last().contains("/Label_files/Miniprotocol/Miniprotocol_1234_1_"));

    const QStringList lines = labelLines(documents, out);
    ASSERT_GE(lines.size(), 2);
    const QDateTime t0 = QLocale::c().toDateTime(lines.at(1).section('\t', 0, 0), timeFormat).addYears(100);
    ASSERT_TRUE(t0.isValid());
    QStringList expected{"# StartTime\tLabel"};
    for (const auto &[s, label] : std::initializer_list<std::pair<int, const char *>>{
             {0, "Start"}, {0, "welcome (1) started"}, {5, "welcome (1) ended "}, {5, "baseline (2) started"},
             {125, "baseline (2) ended "}, {125, "breathing (3) started"}, {185, "breathing (3) ended "},
             {185, "arithmetic (4) started"}, {275, "arithmetic (4) ended "}, {275, "rating (5) started"},
             {280, "rating (5) paused "}, {275, "rating (5) started"}, {280, "rating (5) ended "},
             {280, "research resumed in recovery (6)"}, {280, "recovery (6) started"}, {400, "recovery (6) ended "},
             {400, "end (7) started"}, {405, "end (7) ended "}})
        expected << QLocale::c().toString(t0.addSecs(s), timeFormat) + '\t' + label;
    EXPECT_EQ(lines, expected << "");
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
        dryRun({documents.filePath("preview.json"), "--ppid", "7", "--documents", documents.path(), "--untimed", "5",
                "--end-code", "250"});
    ASSERT_EQ(out.status, 0) << out.err.toStdString();
    const QStringList markersAndStates = out.outLines().filter(QRegularExpression("^(marker|state): "));
    // Each step's id at its start, again at the resume after the slider warning (the pause id 0 is
    // not a code), the end code last; each marker comes before the state of its moment.
    EXPECT_EQ(markersAndStates.filter(QRegularExpression("^marker: ")).join(" ").remove("marker: "),
              "1 2 3 4 5 6 7 7 8 9 10 250");
    for (const auto &[marker, state] : {std::pair("marker: 1", "state: timer: 2"), std::pair("marker: 8", "state: text: 2 + 5 ="),
                                        std::pair("marker: 250", "state: done")})
        EXPECT_EQ(markersAndStates.value(markersAndStates.indexOf(marker) + 1), state) << marker;

    const QRegularExpression state("^state: ");
    const QStringList states = out.outLines().filter(state).replaceInStrings(state, "");
    // The rest's timer sends nothing more; the rating did not come, so its warning pauses the run, the
    // unknown view appears while paused ("black"), "Proceed anyway" resumes, and the step sends what it knows.
    EXPECT_EQ(states, QStringList({"timer: 2", "black", "text: Read this", "breathing: 3.75, 0.0, 3.75, 0.0",
                                   "images: images.txt", "slider: How calm?", "pause", "black", "resume", "black",
                                   "text: 2 + 5 =", "exercise: Squat %2 - 3s", "exercise: Squat %2",
                                   "exercise: Squat %2 - 2s", "exercise: Squat %2 - 1s", "exercise: Squat %2 - 0s",
                                   "exercise: B %1 - 2s", "exercise: B %1 - 1s", "exercise: B %1 - 0s",
                                   "exercises completed", "black", "done"}));

    QStringList exercises = labelLines(documents, out).filter(QRegularExpression("\t(All )?Exercise"));
    EXPECT_EQ(exercises.replaceInStrings(QRegularExpression("^[^\t]*\t"), ""),
              (QStringList{"Exercise Started: Squat %2 (3s)", "Exercise Completed: Squat %2", "Exercise Started: B %1 (2s)",
                           "Exercise Completed: B %1", "All Exercises Completed (Total: 5s)"}));
}

TEST(DryRun, RefusesBadInput)
{
    TemporaryDocuments documents;
    documents.write("broken.json", "{");
    EXPECT_EQ(dryRun({documents.filePath("broken.json"), "--ppid", "1", "--documents", documents.path()}).status, 2);
    EXPECT_EQ(dryRun({mini, "--ppid", "1a", "--documents", documents.path()}).status, 2);
    EXPECT_EQ(dryRun({mini}).status, 64);
    EXPECT_FALSE(documents.exists("Label_files"));
}
