#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// A BIDS dataset that label files are added to: dataset_description.json,
// README, participants.tsv (+ .json), and per run
// sub-<PPID>/beh/sub-<PPID>_task-<research>_run-<n>_events.tsv (+ .json),
// with sub-<PPID>/sub-<PPID>_scans.tsv holding each run's time. Runs of a
// participant and protocol are numbered in the order of their run time
// stamps; adding a label file again rewrites nothing.
class BidsDataset
{
public:
    // What a label file's name tells: research name, "_", participant id,
    // "_1_", run time stamp "yyyyMMdd_HHmmss", ".lbl".
    struct RunName
    {
        QString research;
        QString participant;
        QDateTime runTime;
    };
    static std::optional<RunName> runName(const QString &fileName);

    // Letters and digits only, as BIDS labels must be.
    static QString bidsLabel(const QString &text);

    // authors: for a new dataset_description.json.
    BidsDataset(QString folder, QStringList authors);

    struct Added
    {
        QString eventsFile;          // relative to the dataset; "" when nothing was added
        QStringList renumbered;      // events files of earlier runs, under their new run numbers
        QString error;               // why nothing was added
        QStringList warnings;        // read only in part, or without the markers sent
    };
    // eventLog: where the markers sent are read from; "" for the one of the
    // label file's documents folder.
    Added add(const QString &labelFile, const QString &eventLog = QString());

private:
    QString path(const QString &relative) const;
    bool write(const QString &relative, const QByteArray &bytes, QString *error) const;
    bool writeDatasetFiles(const RunName &name, QString *error) const;
    bool addParticipant(const QString &subject, const QString &participant, QString *error) const;

    QString m_folder;
    QStringList m_authors;
};
