#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One line of a label file as read back. A line without a time of its own
// that follows a line carrying free text (a note typed over several lines)
// is part of that line.
struct LabelLine
{
    enum class Kind {
        Heading,   // "# ..."
        Start,     // time, "Start"
        StepBegin, // time, label " (" id ") started"
        StepEvent, // time, label " (" id ") " word " "
        Resume,    // time, "research resumed in " label " (" id ")"
        Rating,    // time, " " question " " rating (the drone's slider)
        Task,      // time and one of the task and device texts
        Note,      // time and any other text: a note, or a questionnaire answer
        Unknown,   // no time, and nothing to belong to
    };

    Kind kind = Kind::Unknown;
    int lineNumber = 0;    // first line in the file, from 1
    QString text;          // as written, without the time and its tab
    QDateTime time;        // invalid for Heading and Unknown
    QString label;         // step lines and resumes
    QString numericId;     // step lines and resumes
    QString word;          // StepEvent: "ended", "paused", "stopped" or "cancelled, restarting..."
    QString task;          // Task: "blood_pressure", "exercise_started", ...
    QString detail;        // the variable part: note text, question, reading, exercise, problem
    QString rating;        // Rating
};

// A step as it ran: from its first begin to the last event that closed it.
// Pauses inside it do not split it; a restart or a later return to the same
// step starts a new one.
struct StepRun
{
    QString label;
    QString numericId;
    QDateTime begin;
    std::optional<QDateTime> end; // none while no event closed it
    QString outcome;              // word of the closing event; "" while open
};

struct PauseSpan
{
    QDateTime begin;
    std::optional<QDateTime> end; // the resume, or the last time of the session
    bool resumed = false;
    int step = -1; // index into LabelSession::steps of the step it began in; -1 for none
};

// A moment shown as a marker: a note, a rating, a task line, a restart.
struct SessionEvent
{
    int line = 0;  // index into LabelSession::lines
    int step = -1; // index into LabelSession::steps of the step it fell in; -1 for none
};

struct LabelReadError
{
    int lineNumber = 0;
    QString message; // names the line
};

// A label file read back.
struct LabelSession
{
    QList<LabelLine> lines;           // every line, in file order
    std::optional<QDateTime> start;   // the first "Start" line
    std::optional<QDateTime> origin;  // what times are measured from: the start, else the first time
    std::optional<QDateTime> last;    // the latest time in the file
    QList<StepRun> steps;             // in time order
    QList<PauseSpan> pauses;          // in time order
    QList<SessionEvent> events;       // in time order
    std::optional<LabelReadError> error; // reading stopped before this line
};
