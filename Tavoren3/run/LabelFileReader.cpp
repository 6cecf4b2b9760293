#include "run/LabelFileReader.h"

#include "run/LogTime.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace {

using Kind = LabelLine::Kind;

QRegularExpression pattern(const char *text)
{
    return QRegularExpression(QString::fromLatin1(text), QRegularExpression::DotMatchesEverythingOption);
}

// Event texts of the tasks and the blood-pressure step; group 1, where
// there is one, is the part that varies.
struct TaskText
{
    QRegularExpression form;
    const char *task;
};

const QList<TaskText> &taskTexts()
{
    static const QList<TaskText> texts{
        {pattern("^Blood pressure measurement started\\.\\.\\.$"), "blood_pressure_started"},
        {pattern("^Blood pressure: (.*)$"), "blood_pressure"},
        {pattern("^Exercise Started: (.*)$"), "exercise_started"},
        {pattern("^Exercise Completed: (.*)$"), "exercise_completed"},
        {pattern("^All Exercises Completed \\(Total: (.*)\\)$"), "exercises_completed"},
        {pattern("^Attempt start$"), "attempt_start"},
        {pattern("^Successful attempt$"), "successful_attempt"},
        {pattern("^Participant fell$"), "participant_fell"},
        {pattern("^(.* (?:Correct|Wrong))$"), "arithmetic"},
    };
    return texts;
}

// The words once ended in a space; earlier files may lack it.
const QRegularExpression stepLine =
    pattern("^(.*) \\((-?\\d+)\\) (started|ended|paused|stopped|cancelled, restarting\\.\\.\\.) ?$");
const QRegularExpression resumeLine = pattern("^research resumed in (.*) \\((-?\\d+)\\)$");
const QRegularExpression ratingLine = pattern("^ (.*) (\\S*)$");
const QRegularExpression timedLine = pattern("^(\\d\\d-\\d\\d-\\d\\d/\\d\\d:\\d\\d:\\d\\d(?:\\.\\d\\d\\d)?)\\t(.*)$");
const QRegularExpression timeLike = pattern("^\\d\\d-\\d\\d-\\d\\d/");

void classify(LabelLine &line)
{
    const QString &text = line.text;
    line.label.clear();
    line.numericId.clear();
    line.word.clear();
    line.task.clear();
    line.detail.clear();
    line.rating.clear();
    if (text == QLatin1String("Start")) {
        line.kind = Kind::Start;
        return;
    }
    if (const auto m = stepLine.match(text); m.hasMatch()) {
        line.label = m.captured(1);
        line.numericId = m.captured(2);
        line.word = m.captured(3);
        line.kind = line.word == QLatin1String("started") ? Kind::StepBegin : Kind::StepEvent;
        return;
    }
    if (const auto m = resumeLine.match(text); m.hasMatch()) {
        line.kind = Kind::Resume;
        line.label = m.captured(1);
        line.numericId = m.captured(2);
        return;
    }
    for (const TaskText &form : taskTexts()) {
        if (const auto m = form.form.match(text); m.hasMatch()) {
            line.kind = Kind::Task;
            line.task = QString::fromLatin1(form.task);
            line.detail = m.captured(1);
            return;
        }
    }
    if (const auto m = ratingLine.match(text); m.hasMatch()) {
        line.kind = Kind::Rating;
        line.detail = m.captured(1);
        line.rating = m.captured(2);
        return;
    }
    line.kind = Kind::Note;
    line.detail = text;
}

bool carriesFreeText(const LabelLine &line)
{
    return line.kind == Kind::Note || line.kind == Kind::Rating || line.kind == Kind::Task;
}

QString quoted(const QString &text)
{
    const QString shown = text.size() > 60 ? text.left(60) + QStringLiteral("…") : text;
    return QStringLiteral("“") + shown + QStringLiteral("”");
}

// A physical line as text, with its time and the rest when it begins with one.
struct PhysicalLine
{
    QString text;
    std::optional<QDateTime> time;
    QString rest;
};

// Reads a physical line into line; the reason when it does not read.
std::optional<QString> unreadable(const QByteArray &bytes, PhysicalLine &line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    line.text = utf8.decode(bytes);
    if (utf8.hasError() || bytes.contains('\0'))
        return QStringLiteral("is not text");
    if (timeLike.match(line.text).hasMatch()) {
        const auto m = timedLine.match(line.text);
        if (m.hasMatch())
            line.time = LogTime::readLogTimestamp(m.captured(1));
        if (!line.time)
            return QStringLiteral("does not begin with a time (dd-MM-yy/HH:mm:ss.SSS) and a tab: ") + quoted(line.text);
        line.rest = m.captured(2);
    }
    return std::nullopt;
}

template <class A, class B>
bool sameStep(const A &a, const B &b)
{
    return a.label == b.label && a.numericId == b.numericId;
}

class SessionBuilder
{
public:
    explicit SessionBuilder(LabelSession &session) : m_session(session) {}

    void add(int index)
    {
        const LabelLine &line = m_session.lines.at(index);
        if (line.time.isValid() && (!m_session.last || line.time > *m_session.last))
            m_session.last = line.time;
        switch (line.kind) {
        case Kind::Start:
            if (!m_session.start)
                m_session.start = line.time;
            break;
        case Kind::StepBegin:
            closePendingBegin();
            m_pendingBegin = index;
            break;
        case Kind::StepEvent:
            stepEvent(line, index);
            break;
        case Kind::Resume:
            if (!m_session.pauses.isEmpty() && !m_session.pauses.last().end) {
                m_session.pauses.last().end = line.time;
                m_session.pauses.last().resumed = true;
            }
            break;
        case Kind::Rating:
        case Kind::Task:
        case Kind::Note:
            m_session.events.append({index, -1});
            break;
        case Kind::Heading:
        case Kind::Unknown:
            break;
        }
    }

    void finish()
    {
        closePendingBegin();
        for (PauseSpan &pause : m_session.pauses) {
            if (!pause.end)
                pause.end = m_session.last;
        }
        const auto timeOf = [this](const SessionEvent &event) { return m_session.lines.at(event.line).time; };
        std::stable_sort(m_session.steps.begin(), m_session.steps.end(),
                         [](const StepRun &a, const StepRun &b) { return a.begin < b.begin; });
        std::stable_sort(m_session.events.begin(), m_session.events.end(),
                         [&](const SessionEvent &a, const SessionEvent &b) { return timeOf(a) < timeOf(b); });
        for (SessionEvent &event : m_session.events)
            event.step = stepAt(timeOf(event));
        for (PauseSpan &pause : m_session.pauses)
            pause.step = stepAt(pause.begin);
        m_session.origin = m_session.start;
        for (const LabelLine &line : m_session.lines) {
            if (!m_session.origin && line.time.isValid())
                m_session.origin = line.time;
        }
    }

private:
    void stepEvent(const LabelLine &line, int index)
    {
        std::optional<QDateTime> begin;
        if (m_pendingBegin && sameStep(line, m_session.lines.at(*m_pendingBegin)))
            begin = m_session.lines.at(*m_pendingBegin).time;
        closePendingBegin(begin.has_value());
        const bool restart = line.word == QLatin1String("cancelled, restarting...");
        if (restart)
            m_session.events.append({index, -1});
        StepRun *paused = !m_session.steps.isEmpty() && m_session.steps.last().outcome == QLatin1String("paused")
                                  && sameStep(m_session.steps.last(), line)
                              ? &m_session.steps.last()
                              : nullptr;
        if (paused) {
            paused->end = line.time;
            paused->outcome = line.word;
        } else if (!restart) {
            m_session.steps.append({line.label, line.numericId, begin.value_or(line.time), line.time, line.word});
        }
        if (line.word == QLatin1String("paused"))
            m_session.pauses.append({line.time, std::nullopt, false, -1});
    }

    // A begin line that no event line followed: a step still running when
    // the file ends.
    void closePendingBegin(bool used = false)
    {
        if (m_pendingBegin && !used) {
            const LabelLine &line = m_session.lines.at(*m_pendingBegin);
            m_session.steps.append({line.label, line.numericId, line.time, std::nullopt, QString()});
        }
        m_pendingBegin.reset();
    }

    int stepAt(const QDateTime &time) const
    {
        int closing = -1;
        for (int i = int(m_session.steps.size()) - 1; i >= 0; --i) {
            const StepRun &run = m_session.steps.at(i);
            if (run.begin <= time && (!run.end || time < *run.end))
                return i;
            if (closing < 0 && run.end && time == *run.end)
                closing = i;
        }
        return closing;
    }

    LabelSession &m_session;
    std::optional<int> m_pendingBegin;
};

} // namespace

LabelSession LabelFileReader::read(const QByteArray &bytes)
{
    LabelSession session;
    QList<QByteArray> physical = bytes.split('\n');
    const bool endsWithLineFeed = physical.last().isEmpty();
    physical.removeLast();
    if (!endsWithLineFeed) {
        const int number = int(physical.size()) + 1;
        const QString cut = QString::fromUtf8(bytes.mid(bytes.lastIndexOf('\n') + 1));
        session.error = LabelReadError{number, QStringLiteral("line %1 is cut off: %2").arg(number).arg(quoted(cut))};
    }
    for (int i = 0; i < physical.size(); ++i) {
        QByteArray raw = physical.at(i);
        if (raw.endsWith('\r'))
            raw.chop(1);
        PhysicalLine decoded;
        if (const auto reason = unreadable(raw, decoded)) {
            session.error = LabelReadError{i + 1, QStringLiteral("line %1 %2").arg(i + 1).arg(*reason)};
            break;
        }
        if (decoded.time) {
            LabelLine line;
            line.lineNumber = i + 1;
            line.time = *decoded.time;
            line.text = decoded.rest;
            classify(line);
            session.lines.append(line);
        } else if (!session.lines.isEmpty() && carriesFreeText(session.lines.last())) {
            session.lines.last().text += QLatin1Char('\n') + decoded.text;
            classify(session.lines.last());
        } else {
            LabelLine line;
            line.kind = decoded.text.startsWith(QLatin1Char('#')) ? Kind::Heading : Kind::Unknown;
            line.lineNumber = i + 1;
            line.text = decoded.text;
            session.lines.append(line);
        }
    }
    build(session);
    return session;
}

void LabelFileReader::build(LabelSession &session)
{
    session.start.reset();
    session.origin.reset();
    session.last.reset();
    session.steps.clear();
    session.pauses.clear();
    session.events.clear();
    SessionBuilder builder(session);
    for (int i = 0; i < session.lines.size(); ++i)
        builder.add(i);
    builder.finish();
}

void LabelFileReader::addTaskLines(LabelSession &session, const QByteArray &taskFile)
{
    if (!session.origin)
        return;
    const QDateTime from = session.start.value_or(*session.origin);
    const QDateTime to = *session.last;
    const LabelSession tasks = read(taskFile);
    qsizetype added = 0;
    for (const LabelLine &line : tasks.lines) {
        if (line.kind == Kind::Task && line.time >= from && line.time <= to) {
            session.lines.append(line);
            ++added;
        }
    }
    if (added > 0)
        build(session);
}

std::optional<LabelSession> LabelFileReader::readFile(const QString &path, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return std::nullopt;
    }
    return read(file.readAll());
}
