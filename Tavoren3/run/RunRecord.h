#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// Where a run in progress is: kept in the application's data folder (one
// record for each documents folder) so that a run the timekeeper left
// without ending it can be taken up again in the same label file.
struct RunRecord
{
    QString protocolFile; // file name in "Research_protocols"
    QString protocolHash; // SHA-256 of its contents when the run began, hex
    QString ppid;
    QString folderText;   // the research name: the label folder and the start of the file name
    QString runTimestamp; // the label file name's time
    int step = 0;         // index of the current step
    int stepCount = 0;
    QString stepLabel;
    QString stepId;
    qint64 secondsLeft = 0;
    bool paused = false;
    QString stepBegan;    // log time of the step's begin or its last resume
    QDateTime lastAlive;  // the last tick of the timekeeper that kept it

    QString labelFileBaseName() const;
    // The label file below the documents folder; none without one.
    std::optional<QString> labelFilePath() const;

    // The label lines that close the gap an interruption left: the step's
    // begin and pause at the last-alive time unless it was paused already,
    // and the note that says when the timekeeper stopped.
    QStringList gapLines() const;
    // The gap, then the step's stop at the last-alive time.
    QStringList closingLines() const;
    QString lastAliveText() const; // "HH:mm:ss"

    QByteArray toJson() const;
    // None unless every field is there with its type.
    static std::optional<RunRecord> fromJson(const QByteArray &bytes);

    // The record's file for the documents folder in use, and its lock;
    // none without a documents folder.
    static std::optional<QString> filePath(const char *suffix = ".json");
    static std::optional<RunRecord> load();
    // Replaces the record whole; false when it could not be written.
    bool save() const;
    static void remove();

    static QString hashOf(const QByteArray &bytes);
    // The hash of a protocol file in "Research_protocols"; empty when it cannot be read.
    static QString protocolFileHash(const QString &fileName);
    static std::optional<QString> protocolFilePath(const QString &fileName);
};
