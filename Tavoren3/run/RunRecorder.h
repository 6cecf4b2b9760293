#pragma once

#include "run/RunRecord.h"

#include <QObject>

class ProtocolLibrary;
class VerkeersLeiding;

// Keeps the RunRecord of the run in progress on disk: written when the run
// begins, when its step or pause changes and on every tick (the last-alive
// time), removed when the run completes or is stopped.
class RunRecorder : public QObject
{
    Q_OBJECT

public:
    RunRecorder(VerkeersLeiding &controller, ProtocolLibrary &library, QObject *parent = nullptr);

    // The record of the run now, with the current time as its last-alive time.
    RunRecord record() const;
    // Writes the record now, when a run is in progress.
    void keepAlive();

private:
    void runningChanged();
    void writeSoon();

    VerkeersLeiding &m_controller;
    ProtocolLibrary &m_library;
    QString m_protocolFile;
    QString m_protocolHash;
    bool m_writeDue = false;
};
