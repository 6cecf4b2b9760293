#include "run/LabelFileReader.h"
#include "support/QtPrinting.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QDateTime t0(QDate(2026, 12, 5), QTime(14, 0));

// A label file from lines split at "|"; a line "<s> <text>" is written s seconds after t0.
QByteArray labelFile(const QString &lines)
{
    QStringList out;
    for (const QString &line : lines.split('|')) {
        const QRegularExpressionMatch timed = QRegularExpression("^([\\d.]+) (.*)$").match(line);
        out << (timed.hasMatch() ? QLocale::c().toString(t0.addMSecs(qint64(timed.captured(1).toDouble() * 1000)),
                                                         "dd-MM-yy/HH:mm:ss.zzz")
                                       + '\t' + timed.captured(2)
                                 : line);
    }
    return (out.join('\n') + '\n').toUtf8();
}

// The session, "|" between its steps, pauses, events and error; times in seconds after t0.
QString described(const LabelSession &session)
{
    const auto seconds = [](const QDateTime &time) { return QString::number(t0.msecsTo(time) / 1000.0); };
    QStringList out;
    for (const StepRun &run : session.steps)
        out << QString("step %1 (%2) %3..%4 %5")
                   .arg(run.label, run.numericId, seconds(run.begin), run.end ? seconds(*run.end) : "open", run.outcome);
    for (const PauseSpan &pause : session.pauses)
        out << QString("pause %1..%2%3").arg(seconds(pause.begin), seconds(*pause.end), pause.resumed ? "" : " not resumed");
    for (const SessionEvent &event : session.events) {
        const LabelLine &line = session.lines.at(event.line);
        using K = LabelLine::Kind;
        const QString kind = line.kind == K::Note     ? "note"
                             : line.kind == K::Rating ? "rating " + line.rating
                             : line.kind == K::Task   ? line.task
                                                      : line.word;
        out << QString("%1 %2 in %3: %4")
                   .arg(kind, seconds(line.time), event.step < 0 ? "none" : session.steps.at(event.step).label,
                        line.kind == K::StepEvent ? line.label : line.detail);
    }
    if (session.error)
        out << "error: " + session.error->message;
    return out.join('|');
}

} // namespace

TEST(ReadBack, Sessions)
{
    const struct
    {
        const char *name, *lines, *expected;
        QByteArray tail = {}; // after the last line feed
    } cases[] = {
        {"PauseSpanningAStepBoundary",
         "# StartTime\tLabel|0 Start|0 rest (1) started|5 rest (1) ended |5 rating (5) started|8 rating (5) paused |"
         "5 rating (5) started|9 rating (5) ended |12 research resumed in recovery (6)|12 recovery (6) started|"
         "20 recovery (6) ended ",
         "step rest (1) 0..5 ended|step rating (5) 5..9 ended|step recovery (6) 12..20 ended|pause 8..12"},
        {"StoppedMidStepWhilePaused",
         "0 Start|0 a (1) started|4 a (1) paused |6 research resumed in a (1)|6 a (1) started|9 a (1) paused |"
         "6 a (1) started|15 a (1) stopped ",
         "step a (1) 0..15 stopped|pause 4..6|pause 9..15 not resumed"},
        {"RestartedStep",
         "0 Start|0 a (1) started|3 a (1) ended |7 b (2) cancelled, restarting... |7 b (2) started|9 b (2) paused |"
         "10 b (2) cancelled, restarting... |12 research resumed in b (2)|12 b (2) started|20 b (2) ended ",
         "step a (1) 0..3 ended|step b (2) 7..10 cancelled, restarting...|step b (2) 12..20 ended|pause 9..12|"
         "cancelled, restarting... 7 in b: b|cancelled, restarting... 10 in b: b"},
        // Task lines are written before their step's begin line; notes may hold tabs and span lines.
        {"TaskLinesPlacedByTime",
         "0 Start|2 Attempt start|3 electrode\tloose|and moved||4  How tense? 7|5 Blood pressure: BP: 120/80|"
         "6 How tense are you? 4|0 climb (3) started|8 climb (3) ended |9 note after the run",
         "step climb (3) 0..8 ended|attempt_start 2 in climb: |note 3 in climb: electrode\tloose\nand moved\n|"
         "rating 7 4 in climb: How tense?|blood_pressure 5 in climb: BP: 120/80|note 6 in climb: How tense are you? 4|"
         "note 9 in none: note after the run"},
        {"UntimedStepOfAnEmptyProtocolAfterAStrayLine",
         "# StartTime\tLabel|stray words|0 Start|0  (0) started|61.5  (0) ended ",
         "step  (0) 0..61.5 ended"},
        {"CutMidLineByACrash", "0 Start|0 a (1) started|3 a (1) ended |3 b (2) started",
         "step a (1) 0..3 ended|step b (2) 3..open |error: line 5 is cut off: “05-12-26/14:0”", "05-12-26/14:0"},
        {"ALineThatDoesNotReadEndsTheReading", "0 Start|1 fine|32-13-26/14:00:02.000\tbad|3 never read",
         "note 1 in none: fine|error: line 3 does not begin with a time (dd-MM-yy/HH:mm:ss.SSS) and a tab: "
         "“32-13-26/14:00:02.000\tbad”"},
        {"NotText", "0 Start", "error: line 2 is not text", "\xff\xfe\n"},
        {"EarlierFilesWithoutMillisecondsOrTrailingSpaceOrWithCarriageReturns",
         "# StartTime\tLabel\r|05-12-26/14:00:00\tStart\r|05-12-26/14:00:00\ta (1) started\r|"
         "05-12-26/14:00:04\ta (1) ended\r|hand-written remark",
         "step a (1) 0..4 ended"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(described(LabelFileReader::read(labelFile(c.lines) + c.tail)), c.expected) << c.name;
}
