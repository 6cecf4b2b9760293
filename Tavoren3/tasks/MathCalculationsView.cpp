#include "tasks/MathCalculationsView.h"

#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"
#include "tasks/CalculationEvaluator.h"
#include "tasks/TaskFile.h"

MathCalculationsView::MathCalculationsView(VerkeersLeiding &manager, MultipeerSession &session, QString file,
                                           QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_file(std::move(file)), m_wasPaused(manager.pause())
{
    connect(&m_session, &MultipeerSession::stateChanged, this, &MathCalculationsView::changed);
    connect(&m_manager, &VerkeersLeiding::pauseChanged, this, [this] {
        const bool resumed = m_wasPaused && !m_manager.pause();
        m_wasPaused = m_manager.pause();
        if (resumed && !m_currentCalculation.isEmpty())
            m_session.sendState(QStringLiteral("text: ") + m_currentCalculation);
    });
}

QString MathCalculationsView::problemText() const
{
    return m_currentCalculation + QString::number(CalculationEvaluator::evaluateCalculation(m_currentCalculation));
}

bool MathCalculationsView::droneConnected() const
{
    return m_session.isConnected();
}

void MathCalculationsView::appeared()
{
    TaskFile::loadTaskFile(m_file);
    if (m_session.isConnected() && !TaskFile::taskLines().isEmpty())
        nextCalculation();
}

void MathCalculationsView::nextCalculation()
{
    const QStringList &lines = TaskFile::taskLines();
    if (m_teller < lines.size()) {
        m_currentCalculation = lines.at(m_teller);
        if (!m_manager.pause())
            m_session.sendState(QStringLiteral("text: ") + m_currentCalculation);
        ++m_teller;
    } else {
        m_currentCalculation.clear();
    }
    emit changed();
}

void MathCalculationsView::score(const QString &suffix)
{
    const QString fileBaseName = QStringLiteral("timelabelsPPID_") + m_manager.PPID();
    m_manager.appendLogLine(fileBaseName, LogTime::logTimestamp() + QLatin1Char('\t') + m_currentCalculation + suffix,
                            m_manager.protocol().currentProtocolName());
    nextCalculation();
}
