#include "run/LabelFileReader.h"
#include "support/QtPrinting.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QDateTime t0(QDate(2026, 12, 5), QTime(14, 0));

// A label line written s seconds after t0.
QString at(double s, const QString &text)
{
    return QLocale::c().toString(t0.addMSecs(qint64(s * 1000)), "dd-MM-yy/HH:mm:ss.zzz") + '\t' + text;
}

QString seconds(const QDateTime &time)
{
    return QString::number(t0.msecsTo(time) / 1000.0);
}

// The session in one line per step, pause, event and error, times in
// seconds after t0.
QStringList described(const LabelSession &session)
{
    QStringList out;
    for (const StepRun &run : session.steps)
        out << QString("step %1 (%2) %3..%4 %5")
                   .arg(run.label, run.numericId, seconds(run.begin), run.end ? seconds(*run.end) : "open",
                        run.outcome);
    for (const PauseSpan &pause : session.pauses)
        out << QString("pause %1..%2%3").arg(seconds(pause.begin), seconds(*pause.end), pause.resumed ? "" : " not resumed");
    for (const SessionEvent &event : session.events) {
        const LabelLine &line = session.lines.at(event.line);
        const QString kind = line.kind == LabelLine::Kind::Note     ? "note"
                             : line.kind == LabelLine::Kind::Rating ? "rating " + line.rating
                             : line.kind == LabelLine::Kind::Task   ? line.task
                                                                    : line.word;
        out << QString("%1 %2 in %3: %4")
                   .arg(kind, seconds(line.time),
                        event.step < 0 ? "none" : session.steps.at(event.step).label,
                        line.kind == LabelLine::Kind::StepEvent ? line.label : line.detail);
    }
    if (session.error)
        out << "error: " + session.error->message;
    return out;
}

struct Case
{
    const char *name;
    QStringList lines;
    QString tail; // written after the last line feed
    QStringList expected;
};

class ReadBack : public ::testing::TestWithParam<Case>
{};

} // namespace

TEST_P(ReadBack, Session)
{
    const Case &c = GetParam();
    const LabelSession session = LabelFileReader::read((c.lines.join('\n') + '\n' + c.tail).toUtf8());
    EXPECT_EQ(described(session), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    LabelFiles, ReadBack,
    ::testing::Values(
        Case{"PauseSpanningAStepBoundary",
             {"# StartTime\tLabel", at(0, "Start"), at(0, "rest (1) started"), at(5, "rest (1) ended "),
              at(5, "rating (5) started"), at(8, "rating (5) paused "), at(5, "rating (5) started"),
              at(9, "rating (5) ended "), at(12, "research resumed in recovery (6)"), at(12, "recovery (6) started"),
              at(20, "recovery (6) ended ")},
             "",
             {"step rest (1) 0..5 ended", "step rating (5) 5..9 ended", "step recovery (6) 12..20 ended",
              "pause 8..12"}},
        Case{"StoppedMidStepWhilePaused",
             {at(0, "Start"), at(0, "a (1) started"), at(4, "a (1) paused "), at(6, "research resumed in a (1)"),
              at(6, "a (1) started"), at(9, "a (1) paused "), at(6, "a (1) started"), at(15, "a (1) stopped ")},
             "",
             {"step a (1) 0..15 stopped", "pause 4..6", "pause 9..15 not resumed"}},
        Case{"RestartedStep",
             {at(0, "Start"), at(0, "a (1) started"), at(3, "a (1) ended "), at(7, "b (2) cancelled, restarting... "),
              at(7, "b (2) started"), at(9, "b (2) paused "), at(10, "b (2) cancelled, restarting... "),
              at(12, "research resumed in b (2)"), at(12, "b (2) started"), at(20, "b (2) ended ")},
             "",
             {"step a (1) 0..3 ended", "step b (2) 7..10 cancelled, restarting...", "step b (2) 12..20 ended",
              "pause 9..12", "cancelled, restarting... 7 in b: b", "cancelled, restarting... 10 in b: b"}},
        // Task lines are written before their step's begin line; notes
        // may hold tabs and span lines.
        Case{"TaskLinesPlacedByTime",
             {at(0, "Start"), at(2, "Attempt start"), at(3, "electrode\tloose"), "and moved", "",
              at(4, " How tense? 7"), at(5, "Blood pressure: BP: 120/80"), at(6, "How tense are you? 4"),
              at(0, "climb (3) started"), at(8, "climb (3) ended "), at(9, "note after the run")},
             "",
             {"step climb (3) 0..8 ended", "attempt_start 2 in climb: ", "note 3 in climb: electrode\tloose\nand moved\n",
              "rating 7 4 in climb: How tense?", "blood_pressure 5 in climb: BP: 120/80",
              "note 6 in climb: How tense are you? 4", "note 9 in none: note after the run"}},
        Case{"UntimedStepOfAnEmptyProtocol",
             {"# StartTime\tLabel", at(0, "Start"), at(0, " (0) started"), at(61.5, " (0) ended ")},
             "",
             {"step  (0) 0..61.5 ended"}},
        Case{"CutMidLineByACrash",
             {at(0, "Start"), at(0, "a (1) started"), at(3, "a (1) ended "), at(3, "b (2) started")},
             "05-12-26/14:0",
             {"step a (1) 0..3 ended", "step b (2) 3..open ", "error: line 5 is cut off: “05-12-26/14:0”"}},
        Case{"ALineThatDoesNotReadEndsTheReading",
             {at(0, "Start"), at(1, "fine"), "32-13-26/14:00:02.000\tbad", at(3, "never read")},
             "",
             {"note 1 in none: fine",
              "error: line 3 does not begin with a time (dd-MM-yy/HH:mm:ss.SSS) and a tab: “32-13-26/14:00:02.000\tbad”"}},
        Case{"EarlierFilesWithoutMillisecondsOrTrailingSpaceOrWithCarriageReturns",
             {"# StartTime\tLabel\r", "05-12-26/14:00:00\tStart\r", "05-12-26/14:00:00\ta (1) started\r",
              "05-12-26/14:00:04\ta (1) ended\r", "hand-written remark"},
             "",
             {"step a (1) 0..4 ended"}}),
    [](const ::testing::TestParamInfo<Case> &info) { return info.param.name; });

TEST(ReadBack, KeepsEveryLineAndItsNumber)
{
    const QByteArray file = QStringList{"# StartTime\tLabel", "stray words", at(0, "Start"), at(1, "two"), "lines", "",
                                        at(2, "a (1) started"), "after a step line"}
                                .join('\n')
                                .toUtf8()
                            + "\n";
    const LabelSession session = LabelFileReader::read(file);
    QStringList kinds;
    for (const LabelLine &line : session.lines)
        kinds << QString("%1:%2:%3").arg(line.lineNumber).arg(int(line.kind)).arg(line.text);
    using K = LabelLine::Kind;
    EXPECT_EQ(kinds, (QStringList{QString("1:%1:# StartTime\tLabel").arg(int(K::Heading)),
                                  QString("2:%1:stray words").arg(int(K::Unknown)),
                                  QString("3:%1:Start").arg(int(K::Start)),
                                  QString("4:%1:two\nlines\n").arg(int(K::Note)),
                                  QString("7:%1:a (1) started").arg(int(K::StepBegin)),
                                  QString("8:%1:after a step line").arg(int(K::Unknown))}));
    EXPECT_EQ(session.origin, session.start);
    EXPECT_FALSE(session.error);

    const LabelSession notText = LabelFileReader::read(at(0, "Start").toUtf8() + "\n" + QByteArray("\xff\xfe\n", 3));
    ASSERT_TRUE(notText.error);
    EXPECT_EQ(notText.error->message, "line 2 is not text");
}
