#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The fixed, locale-independent time texts, all read from Clock::current().
class LogTime
{
public:
    // "dd-MM-yy/HH:mm:ss.SSS": the start of every label line that marks a moment.
    static QString logTimestamp();
    static QString logTimestamp(const QDateTime &time);
    // A time written by logTimestamp (or without milliseconds, as some label
    // files have it) read back as local time; none for anything else.
    static std::optional<QDateTime> readLogTimestamp(const QString &text);
    // "yyyyMMdd_HHmmss": part of a label file's name.
    static QString runTimestamp();
    static std::optional<QDateTime> readRunTimestamp(const QString &text);
    // "yyyy-MM-dd HH:mm:ss.SSS": event log lines.
    static QString eventTimestamp();
    static QString eventTimestamp(const QDateTime &time);
    static std::optional<QDateTime> readEventTimestamp(const QString &text);
    // "%02d:%02d" minutes and seconds of a duration's magnitude.
    static QString minutesAndSeconds(qint64 seconds);
};
