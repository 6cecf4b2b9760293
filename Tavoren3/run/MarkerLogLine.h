#pragma once

#include "run/VerkeersLeiding.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The event log's lines about markers, as written and read back: a marker
// is logged with its code and what it marked, "start of rest (12)".
class MarkerLogLine
{
public:
    static QString what(VerkeersLeiding::Boundary kind, const QString &label, qint64 numID);
    static QString sent(qint64 code, const QString &what);
    static QString notSent(qint64 code, const QString &reason, const QString &what);

    // A marker of a step's boundary that the log says went out.
    struct Sent
    {
        QDateTime at;
        qint64 code = 0;
        VerkeersLeiding::Boundary kind = VerkeersLeiding::Boundary::StepStart;
        QString numericId;
    };
    // Those of an event log's bytes, in the log's order.
    static QList<Sent> sentIn(const QByteArray &eventLog);
};
