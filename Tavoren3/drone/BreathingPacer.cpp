#include "drone/BreathingPacer.h"

#include <cmath>

BreathingPacer::BreathingPacer(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &BreathingPacer::advance);
}

QList<BreathingPacer::Step> BreathingPacer::steps(const QList<double> &seconds)
{
    static constexpr Phase order[] = {Phase::breatheIn, Phase::holdIn, Phase::breatheOut, Phase::holdOut};
    QList<Step> result;
    for (qsizetype i = 0; i < seconds.size() && i < 4; ++i) {
        const int ms = int(std::lround(seconds[i] * 1000));
        if (ms > 0)
            result.append({order[i], ms});
    }
    return result;
}

QString BreathingPacer::phaseText() const
{
    if (m_steps.isEmpty())
        return QString();
    switch (phase()) {
    case Phase::breatheIn:
        return QStringLiteral("Breathe in");
    case Phase::breatheOut:
        return QStringLiteral("Breathe out");
    case Phase::holdIn:
    case Phase::holdOut:
        break;
    }
    return QStringLiteral("Hold");
}

void BreathingPacer::start(const QList<double> &seconds)
{
    m_steps = steps(seconds);
    m_current = 0;
    m_timer.stop();
    if (!m_steps.isEmpty())
        m_timer.start(m_steps.first().ms);
    emit phaseChanged();
}

void BreathingPacer::stop()
{
    m_timer.stop();
    m_steps.clear();
    m_current = 0;
    emit phaseChanged();
}

void BreathingPacer::freeze()
{
    if (!m_timer.isActive())
        return;
    m_leftMs = m_timer.remainingTime();
    m_timer.stop();
}

void BreathingPacer::thaw()
{
    if (m_steps.isEmpty() || m_timer.isActive())
        return;
    m_timer.start(std::max(0, m_leftMs));
}

void BreathingPacer::advance()
{
    if (m_steps.isEmpty())
        return;
    m_current = (m_current + 1) % m_steps.size();
    m_timer.start(m_steps[m_current].ms);
    emit phaseChanged();
}
