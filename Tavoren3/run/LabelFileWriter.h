#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// The one writer of label files and the event log. A line it reports as
// written is on disk: appends are flushed to the device, and a new file
// appears whole or not at all.
class LabelFileWriter
{
public:
    // Characters kept in file names and folder names; both are cut to 100.
    static QString safeFileName(const QString &fileName);
    static QString safeFolderName(const QString &folder);

    // The file for a name and folder text, below the documents folder;
    // none without a documents folder.
    static std::optional<QString> labelFilePath(const QString &fileName, const QString &folder);

    // Appends line + "\n"; returns whether it reached the disk, and if not,
    // why in failure.
    static bool writeLabelFileLine(const QString &fileName, const QString &folder, const QString &line,
                                   QString *failure = nullptr);

    // "log.lbl" in the documents folder: event time, tab, text.
    static bool writeEventLog(const QString &text);
    // The same with the time the event happened.
    static bool writeEventLog(const QString &text, const QDateTime &at);

    // The completed run's label file, as the writer named it.
    static std::optional<QByteArray> readCompletedLabelFile(const QString &researchName,
                                                            const QString &completedLogFileName);
};
