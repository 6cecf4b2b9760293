#pragma once

#include "common/MonotonicClock.h"
#include "model/CurrentProtocol.h"
#include "run/TickTimer.h"

#include <QObject>
#include <memory>

class EspBleCentral;
class MultipeerSession;
class SoundPlayer;
class VerkeersLeiding;

// The application entry: creates, in this order, the bridge central, the
// peer session and the run controller, ticks the controller every second
// and writes scene phases to the event log. With TAVOREN_REPORT_TICKS set,
// each tick's due and arrival times (nanoseconds on the monotonic clock) go
// to standard error as "tick DUE ARRIVAL", taken before the controller's
// work (for the tick benchmark).
class Tavoren3App : public QObject
{
    Q_OBJECT

public:
    Tavoren3App(SoundPlayer &sound, const QString &displayName, QObject *parent = nullptr);
    ~Tavoren3App() override;

    EspBleCentral &bleManager() const { return *m_bleManager; }
    MultipeerSession &VESK_Session() const { return *m_session; }
    VerkeersLeiding &verkeersLeiding() const { return *m_verkeersLeiding; }
    CurrentProtocol &currentProtocol() { return m_currentProtocol; }
    TickTimer &tickTimer() const { return *m_tickTimer; }

    // The timer ticks the controller; a step that begins between two ticks
    // starts the timer's seconds afresh, so that it lasts its whole duration.
    static void keepTime(TickTimer &timer, VerkeersLeiding &controller);

    // "Background", "Active", or "Default New Phase: " + the phase's name + " ".
    static QString scenePhaseText(Qt::ApplicationState state);
    void scenePhaseChanged(Qt::ApplicationState state);

private:
    CurrentProtocol m_currentProtocol;
    std::unique_ptr<EspBleCentral> m_bleManager;
    std::unique_ptr<MultipeerSession> m_session;
    std::unique_ptr<VerkeersLeiding> m_verkeersLeiding;
    SteadyClock m_monotonic;
    std::unique_ptr<TickTimer> m_tickTimer;
};
