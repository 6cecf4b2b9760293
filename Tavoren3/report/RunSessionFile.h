#pragma once

#include "run/LabelSession.h"

#include <QString>
#include <optional>

// A run's label file read back for the reports, with the arithmetic scores
// of its participant that fall within the run: the arithmetic task writes
// them to "timelabelsPPID_<id>.lbl" beside the label file, one file for
// every run of that participant.
class RunSessionFile
{
public:
    // None when the label file cannot be opened (reason set).
    static std::optional<LabelSession> read(const QString &labelFile, QString *reason);
    // The participant's score file beside a label file; empty when its name names no participant.
    static QString scoreFileOf(const QString &labelFile);
    // The event log of the documents folder a label file is in: "log.lbl"
    // above Label_files/<research>/, else beside the file.
    static QString eventLogOf(const QString &labelFile);
};
