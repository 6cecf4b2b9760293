#pragma once

#include "run/RunRecord.h"

#include <QString>
#include <optional>

// A run that the timekeeper left without ending it, as the start screen
// offers it: resumable while its protocol and label file are there, else
// only to be closed, with the reason.
class InterruptedRun
{
public:
    explicit InterruptedRun(RunRecord record);
    // The record of this documents folder, when it holds one.
    static std::optional<InterruptedRun> find();

    const RunRecord &record() const { return m_record; }
    // "The run of participant 12 (mini) was interrupted in step 3 "rest" of 7, at about 10:42:13."
    QString offerText() const;
    bool resumable() const { return m_reason.isEmpty(); }
    // Why it cannot be resumed; empty when it can.
    QString reason() const { return m_reason; }
    // The protocol file is not the one the run began with.
    bool protocolChanged() const { return m_protocolChanged; }
    QString protocolName() const;

    // Writes the gap and a stop to the label file (when it is there) and
    // forgets the record.
    void close() const;
    // The label file's lines so far; none when it cannot be read.
    std::optional<QString> labelFileText() const;

private:
    RunRecord m_record;
    QString m_reason;
    bool m_protocolChanged = false;
};
