#include "run/Tavoren3App.h"

#include "bridge/EspBleCentral.h"
#include "drone/MultipeerSession.h"
#include "run/LabelFileWriter.h"
#include "run/VerkeersLeiding.h"

#include <cstdio>

Tavoren3App::Tavoren3App(SoundPlayer &sound, const QString &displayName, QObject *parent)
    : QObject(parent),
      m_bleManager(std::make_unique<EspBleCentral>(BleBackend::createForProcess())),
      m_session(std::make_unique<MultipeerSession>(displayName)),
      m_verkeersLeiding(std::make_unique<VerkeersLeiding>(*m_session, m_currentProtocol, sound)),
      m_tickTimer(TickTimer::create(m_monotonic))
{
    if (qEnvironmentVariableIsSet("TAVOREN_REPORT_TICKS")) {
        connect(m_tickTimer.get(), &TickTimer::tick, this, [this] {
            const auto arrival = m_monotonic.now();
            std::fprintf(stderr, "tick %lld %lld\n", static_cast<long long>(m_tickTimer->schedule().lastDue().count()),
                         static_cast<long long>(arrival.count()));
        });
    }
    keepTime(*m_tickTimer, *m_verkeersLeiding);
    m_tickTimer->start();
}

void Tavoren3App::keepTime(TickTimer &timer, VerkeersLeiding &controller)
{
    connect(&timer, &TickTimer::tick, &controller, &VerkeersLeiding::tick);
    connect(&controller, &VerkeersLeiding::stepBeganBetweenTicks, &timer, &TickTimer::start);
}

Tavoren3App::~Tavoren3App() = default;

QString Tavoren3App::scenePhaseText(Qt::ApplicationState state)
{
    switch (state) {
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended: return QStringLiteral("Background");
    case Qt::ApplicationActive: return QStringLiteral("Active");
    case Qt::ApplicationInactive: break;
    }
    return QStringLiteral("Default New Phase: inactive ");
}

void Tavoren3App::scenePhaseChanged(Qt::ApplicationState state)
{
    LabelFileWriter::writeEventLog(scenePhaseText(state));
}
