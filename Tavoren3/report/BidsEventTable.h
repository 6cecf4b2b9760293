#pragma once

#include "run/LabelSession.h"
#include "run/MarkerLogLine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A session as BIDS events: one row per step, pause, restart, note, rating
// and task line, times in seconds from the label file's "Start" line, with
// the trigger code sent at a step's, pause's or restart's own moment.
class BidsEventTable
{
public:
    struct Row
    {
        qint64 onset = 0;                // milliseconds from the start
        std::optional<qint64> duration;  // milliseconds; none when the file does not tell
        QString trialType;
        std::optional<qint64> value;     // the trigger code sent; none when none was
        QString stepId;
        QString stepEnd;
        QString text;
        QString rating;
        QString measurement;
    };

    // None for a session without a "Start" line. markers: those the event
    // log says were sent.
    static std::optional<BidsEventTable> of(const LabelSession &session,
                                            const QList<MarkerLogLine::Sent> &markers = {});

    const QList<Row> &rows() const { return m_rows; }
    // "_events.tsv": a header and one line per row, in onset order.
    QByteArray tsv() const;
    // "_events.json": what each column holds.
    static QByteArray sidecar();

    // A TSV cell: "n/a" for nothing; backslashes, tabs and line ends written as \\, \t, \n, \r.
    static QString cell(const QString &value);

private:
    QList<Row> m_rows;
};
