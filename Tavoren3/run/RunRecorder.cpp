#include "run/RunRecorder.h"

#include "common/Clock.h"
#include "common/Console.h"
#include "model/ProtocolLibrary.h"
#include "run/VerkeersLeiding.h"

#include <QTimer>

RunRecorder::RunRecorder(VerkeersLeiding &controller, ProtocolLibrary &library, QObject *parent)
    : QObject(parent), m_controller(controller), m_library(library)
{
    connect(&m_controller, &VerkeersLeiding::runningChanged, this, &RunRecorder::runningChanged);
    connect(&m_controller, &VerkeersLeiding::pauseChanged, this, &RunRecorder::writeSoon);
    connect(&m_controller, &VerkeersLeiding::currentChanged, this, &RunRecorder::writeSoon);
}

RunRecord RunRecorder::record() const
{
    RunRecord record;
    record.protocolFile = m_protocolFile;
    record.protocolHash = m_protocolHash;
    record.ppid = m_controller.PPID();
    record.folderText = m_controller.protocol().currentProtocolName();
    record.runTimestamp = m_controller.runTimestamp();
    record.step = m_controller.nr();
    record.stepCount = m_controller.stepCount();
    record.stepLabel = m_controller.current()->testLabel();
    record.stepId = m_controller.current()->testID();
    record.secondsLeft = m_controller.remainingTime();
    record.paused = m_controller.pause();
    record.stepBegan = m_controller.current()->Starttijd();
    record.lastAlive = Clock::current().now();
    return record;
}

void RunRecorder::keepAlive()
{
    m_writeDue = false;
    if (!m_controller.running() || m_protocolFile.isEmpty())
        return;
    if (!record().save())
        Console::line(QStringLiteral("The record of the run could not be written."));
}

void RunRecorder::writeSoon()
{
    // Several properties change at one step boundary: the record is written once they all have.
    if (m_writeDue)
        return;
    m_writeDue = true;
    QTimer::singleShot(0, this, [this] {
        if (m_writeDue)
            keepAlive();
    });
}

void RunRecorder::runningChanged()
{
    if (m_controller.running()) {
        m_protocolFile = m_library.selectedFileName();
        m_protocolHash = RunRecord::protocolFileHash(m_protocolFile);
        writeSoon();
        return;
    }
    m_writeDue = false;
    m_protocolFile.clear();
    RunRecord::remove();
}
