#include "markers/MarkerOutput.h"

#include "common/Clock.h"
#include "markers/MarkerPlan.h"
#include "markers/SerialMarkerWriter.h"
#include "model/MarkerCodes.h"
#include "model/Run.h"
#include "run/LabelFileWriter.h"
#include "run/MarkerLogLine.h"

MarkerOutput::MarkerOutput(QObject *parent) : QObject(parent), m_writer(new SerialMarkerWriter)
{
    m_thread.setObjectName(QStringLiteral("trigger box"));
    m_writer->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_writer, &QObject::deleteLater);
    connect(m_writer, &SerialMarkerWriter::opened, this, [this](const QString &port) {
        LabelFileWriter::writeEventLog(QStringLiteral("Trigger box %1 ready").arg(port));
        setState(State::Ready);
    });
    connect(m_writer, &SerialMarkerWriter::openFailed, this, [this](const QString &port, const QString &reason) {
        LabelFileWriter::writeEventLog(QStringLiteral("Trigger box %1 could not be opened: %2").arg(port, reason));
        setState(State::Failed, reason);
    });
    connect(m_writer, &SerialMarkerWriter::lost, this, [this](const QString &port, const QString &reason) {
        LabelFileWriter::writeEventLog(QStringLiteral("Trigger box %1 lost: %2").arg(port, reason));
        setState(State::Lost, reason);
    });
    connect(m_writer, &SerialMarkerWriter::sent, this, &MarkerOutput::sent);
    connect(m_writer, &SerialMarkerWriter::notSent, this, &MarkerOutput::notSent);
    connect(m_writer, &SerialMarkerWriter::late, this, [](const Marker &marker) {
        LabelFileWriter::writeEventLog(
            QStringLiteral("Marker %1 had not left for the trigger box after %2 ms: %3")
                .arg(marker.code)
                .arg(SerialMarkerWriter::leaveDeadlineMs)
                .arg(marker.what),
            marker.at);
    });
    m_thread.start();
}

MarkerOutput::~MarkerOutput()
{
    m_thread.quit();
    m_thread.wait();
}

QString MarkerOutput::statusText() const
{
    const QString box = QStringLiteral("Trigger box: ") + m_settings.port;
    switch (m_state) {
    case State::None: break;
    case State::Opening: return box + QStringLiteral(", opening");
    case State::Ready: return box + QStringLiteral(", ready");
    case State::Failed: return box + QStringLiteral(", not opened: ") + m_reason;
    case State::Lost: return box + QStringLiteral(", lost");
    }
    return QStringLiteral("No trigger box");
}

void MarkerOutput::setState(State state, const QString &reason)
{
    if (m_state == state && m_reason == reason)
        return;
    m_state = state;
    m_reason = reason;
    emit stateChanged();
}

void MarkerOutput::apply(const MarkerSettings &settings)
{
    m_settings = settings;
    setState(settings.port.isEmpty() ? State::None : State::Opening);
    m_writer->withholdLine();
    QMetaObject::invokeMethod(m_writer, [writer = m_writer, settings] { writer->configure(settings); });
}

void MarkerOutput::follow(VerkeersLeiding &controller)
{
    connect(&controller, &VerkeersLeiding::boundary, this,
            [this, &controller](VerkeersLeiding::Boundary kind, int stepIndex, const QDateTime &at) {
                auto marker = MarkerPlan::of(kind, stepIndex, *controller.protocol().currentProtocol(), m_settings.endCode);
                if (marker) {
                    marker->at = at;
                    mark(*marker);
                }
            });
}

void MarkerOutput::mark(Marker marker)
{
    if (!inUse())
        return;
    if (!marker.at.isValid())
        marker.at = Clock::current().now();
    if (!MarkerCodes::sendable(marker.code)) {
        notSent(marker, QStringLiteral("a trigger box sends only %1 to %2")
                            .arg(MarkerCodes::lowest)
                            .arg(MarkerCodes::highest));
        return;
    }
    // At once from this thread when the lines are at rest: no wait for the writer's thread to wake.
    if (!m_writer->writeAtOnce(marker))
        QMetaObject::invokeMethod(m_writer, [writer = m_writer, marker] { writer->write(marker); });
}

void MarkerOutput::sendTestMarker()
{
    mark(Marker{testCode, QStringLiteral("test"), {}});
}

QString MarkerOutput::startCaution(const Run &run) const
{
    return inUse() ? MarkerCodes::unsendableNote(run) : QString();
}

void MarkerOutput::sent(const Marker &marker)
{
    LabelFileWriter::writeEventLog(MarkerLogLine::sent(marker.code, marker.what), marker.at);
    emit markerSent(marker);
}

void MarkerOutput::notSent(const Marker &marker, const QString &reason)
{
    LabelFileWriter::writeEventLog(MarkerLogLine::notSent(marker.code, reason, marker.what), marker.at);
    emit markerNotSent(marker, reason);
}
