#include "report/BidsEventTable.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

QString seconds(qint64 milliseconds)
{
    return QString::number(milliseconds / 1000.0, 'f', 3);
}

} // namespace

QString BidsEventTable::cell(const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("n/a");
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

std::optional<BidsEventTable> BidsEventTable::of(const LabelSession &session,
                                                 const QList<MarkerLogLine::Sent> &markers)
{
    if (!session.start)
        return std::nullopt;
    using Boundary = VerkeersLeiding::Boundary;
    const QDateTime start = *session.start;
    const auto idOf = [&](int step) { return step < 0 ? QString() : session.steps.at(step).numericId; };
    // The code the step stepId was marked with at that very time, as one of kinds.
    const auto codeAt = [&](const QDateTime &at, const QString &stepId, std::initializer_list<Boundary> kinds) {
        for (const MarkerLogLine::Sent &marker : markers) {
            if (marker.at == at && marker.numericId == stepId && std::find(kinds.begin(), kinds.end(), marker.kind) != kinds.end())
                return std::optional<qint64>(marker.code);
        }
        return std::optional<qint64>();
    };
    BidsEventTable table;
    for (const StepRun &run : session.steps) {
        table.m_rows.append({start.msecsTo(run.begin),
                             run.end ? std::optional<qint64>(run.begin.msecsTo(*run.end)) : std::nullopt, run.label,
                             codeAt(run.begin, run.numericId, {Boundary::StepStart, Boundary::Resume, Boundary::Restart}),
                             run.numericId, run.end ? run.outcome : QStringLiteral("not ended"), {}, {}, {}});
    }
    for (const PauseSpan &pause : session.pauses) {
        table.m_rows.append({start.msecsTo(pause.begin), pause.begin.msecsTo(*pause.end), QStringLiteral("pause"),
                             codeAt(pause.begin, idOf(pause.step), {Boundary::Pause}), idOf(pause.step), {},
                             pause.resumed ? QString() : QStringLiteral("not resumed"), {}, {}});
    }
    for (const SessionEvent &event : session.events) {
        const LabelLine &line = session.lines.at(event.line);
        Row row{start.msecsTo(line.time), 0, {}, {}, idOf(event.step), {}, {}, {}, {}};
        switch (line.kind) {
        case LabelLine::Kind::Note:
            row.trialType = QStringLiteral("note");
            row.text = line.detail;
            break;
        case LabelLine::Kind::Rating:
            row.trialType = QStringLiteral("slider_rating");
            row.text = line.detail;
            row.rating = line.rating;
            break;
        case LabelLine::Kind::Task:
            row.trialType = line.task;
            (line.task == QLatin1String("blood_pressure") ? row.measurement : row.text) = line.detail;
            break;
        default:
            row.trialType = QStringLiteral("restart");
            row.stepId = line.numericId;
            row.value = codeAt(line.time, line.numericId, {Boundary::Restart});
            break;
        }
        table.m_rows.append(row);
    }
    std::stable_sort(table.m_rows.begin(), table.m_rows.end(),
                     [](const Row &a, const Row &b) { return a.onset < b.onset; });
    return table;
}

QByteArray BidsEventTable::tsv() const
{
    QString out = QStringLiteral("onset\tduration\ttrial_type\tvalue\tstep_id\tstep_end\ttext\trating\tmeasurement\n");
    for (const Row &row : m_rows) {
        const QStringList cells{seconds(row.onset), row.duration ? seconds(*row.duration) : QStringLiteral("n/a"),
                                cell(row.trialType), row.value ? QString::number(*row.value) : QStringLiteral("n/a"),
                                cell(row.stepId), cell(row.stepEnd), cell(row.text),
                                cell(row.rating), cell(row.measurement)};
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

QByteArray BidsEventTable::sidecar()
{
    const nlohmann::ordered_json json = {
        {"onset",
         {{"Description", "Time of the event from the label file's Start line (the start of the run), as the "
                          "timekeeper's clock wrote it."},
          {"Units", "s"}}},
        {"duration",
         {{"Description", "Length of a step or pause; 0 for a moment; n/a for a step whose end the label file does "
                          "not hold (the file ends while it runs)."},
          {"Units", "s"}}},
        {"trial_type",
         {{"Description",
           "For a step: its label (labelID). Otherwise the kind of event: pause, restart, note, slider_rating, "
           "blood_pressure_started, blood_pressure, exercise_started, exercise_completed, exercises_completed, "
           "attempt_start, successful_attempt, participant_fell or arithmetic."}}},
        {"value",
         {{"Description",
           "The code sent to the trigger box at the row's onset, as the event log has it, so that the row can be found "
           "on the recording's marker channel: a step's numeric id (numID) at its start, at its resume after a pause "
           "and at its restart; the protocol's pause id (VeskPauseLabel) at a pause. A restart's code also begins "
           "the step's new attempt, so both rows give it. n/a where no code went out: no trigger box in use, an id "
           "a box cannot send (only 1 to 255), the box lost at that moment, or no event log beside the label file."}}},
        {"step_id", {{"Description", "Numeric id (numID) of the step the row is or happened in."}}},
        {"step_end",
         {{"Description", "How a step ended; n/a on the rows that are not steps."},
          {"Levels",
           {{"ended", "the step ran to its end or the timekeeper moved on"},
            {"paused", "the run was paused in the step and left it without resuming"},
            {"stopped", "the timekeeper stopped the run in the step"},
            {"cancelled, restarting...", "the timekeeper restarted the step; the next row of the step is the new attempt"},
            {"not ended", "the label file ends while the step runs"}}}}},
        {"text",
         {{"Description",
           "The text of a note as typed (a questionnaire answer is its question, a blank and the rating), a rating's "
           "question, an exercise and its seconds, an arithmetic problem and its score, or 'not resumed' for a pause "
           "the file does not end. A backslash is written \\\\, a tab \\t and a line end \\n."}}},
        {"rating", {{"Description", "The participant's slider rating as the drone sent it."}}},
        {"measurement", {{"Description", "The blood-pressure monitor's result or advice, as the status line showed it."}}},
    };
    return QByteArray::fromStdString(json.dump(2)) + '\n';
}
