#include "drone/SliderView.h"

#include "common/Console.h"
#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

SliderView::SliderView(VerkeersLeiding &manager, MultipeerSession &session, QString question, QString prefix,
                       QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_question(std::move(question)),
      m_prefix(std::move(prefix))
{
    connect(&m_session, &MultipeerSession::receivedMessageChanged, this, &SliderView::receivedMessageChanged);
    connect(&m_session, &MultipeerSession::stateChanged, this, &SliderView::update);
}

SliderView::Display SliderView::display() const
{
    if (m_session.receivedMessage().startsWith(m_prefix))
        return Display::Rating;
    if (m_session.isConnected())
        return m_hasRequested ? Display::WaitingForScore : Display::Preparing;
    return Display::WaitingForConnection;
}

QString SliderView::displayText() const
{
    switch (display()) {
    case Display::Rating: return m_session.receivedMessage().right(2);
    case Display::WaitingForScore: return QStringLiteral("Waiting for Score");
    case Display::WaitingForConnection: return QStringLiteral("Waiting for connection");
    case Display::Preparing: break;
    }
    return QStringLiteral("Preparing slider...");
}

bool SliderView::displayIsLarge() const
{
    const Display shown = display();
    return shown == Display::Rating || shown == Display::WaitingForScore;
}

QString SliderView::displayColor() const
{
    switch (display()) {
    case Display::WaitingForConnection: return QStringLiteral("red");
    case Display::Preparing: return QStringLiteral("blue");
    default: return QStringLiteral("black");
    }
}

void SliderView::appeared()
{
    m_manager.setSliderValueReceivedAndDisplayed(false);
    m_hasReceived = false;
    if (m_manager.pause()) {
        Console::line(QStringLiteral("SliderView: App is paused, not sending state"));
    } else if (m_session.isConnected()) {
        m_session.sendState(QStringLiteral("slider: ") + m_question);
        m_hasRequested = true;
    }
    update();
}

void SliderView::disappeared()
{
    m_session.setReceivedMessage(QString());
    m_hasRequested = false;
    m_hasReceived = false;
    update();
}

void SliderView::receivedMessageChanged()
{
    if (m_session.receivedMessage().startsWith(m_prefix)) {
        m_hasReceived = true;
        m_manager.setSliderValueReceivedAndDisplayed(true);
    }
    update();
}

void SliderView::update()
{
    const bool ratingShown = display() == Display::Rating;
    if (ratingShown && !m_ratingShown) {
        m_manager.log(LogTime::logTimestamp() + QStringLiteral("\t ") + m_question + QLatin1Char(' ')
                      + m_session.receivedMessage().mid(m_prefix.size()));
    }
    m_ratingShown = ratingShown;
    emit changed();
}
