#include "drone/SliderView.h"

#include "common/Console.h"
#include "common/OutsideText.h"
#include "drone/DroneSlider.h"
#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

#include <QRegularExpression>

SliderView::SliderView(VerkeersLeiding &manager, MultipeerSession &session, QString question, QString prefix,
                       QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_question(std::move(question)),
      m_prefix(std::move(prefix))
{
    connect(&m_session, &MultipeerSession::stateQueued, this, &SliderView::stateQueued);
    connect(&m_session, &MultipeerSession::messageReceived, this, &SliderView::messageReceived);
    connect(&m_session, &MultipeerSession::stateChanged, this, &SliderView::changed);
}

SliderView::Display SliderView::display() const
{
    if (m_rating)
        return Display::Rating;
    if (m_session.isConnected())
        return m_hasRequested ? Display::WaitingForScore : Display::Preparing;
    return Display::WaitingForConnection;
}

QString SliderView::displayText() const
{
    switch (display()) {
    case Display::Rating: return QString::number(*m_rating).rightJustified(2);
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
    emit changed();
}

void SliderView::disappeared()
{
    m_session.setReceivedMessage(QString());
    m_hasRequested = false;
    m_hasReceived = false;
    m_questionShown = false;
    m_rating.reset();
    emit changed();
}

std::optional<int> SliderView::ratingIn(const QString &text) const
{
    static const QRegularExpression wholeNumber(QStringLiteral("\\A[0-9]{1,9}\\z"));
    const QString value = text.mid(m_prefix.size());
    if (!wholeNumber.match(value).hasMatch())
        return std::nullopt;
    const int rating = value.toInt();
    if (rating < DroneSlider::minimumValue || rating > DroneSlider::maximumValue)
        return std::nullopt;
    return rating;
}

void SliderView::stateQueued(const QString &payload)
{
    // Whatever the drone is sent next replaces the question on its screen.
    m_questionShown = payload == QStringLiteral("slider: ") + m_question;
}

void SliderView::messageReceived(const QString &text)
{
    if (!text.startsWith(m_prefix))
        return;
    if (!m_questionShown) {
        Console::line(QStringLiteral("SliderView: dropped a rating the drone was not asked for: ") + OutsideText::printable(text));
        return;
    }
    const std::optional<int> rating = ratingIn(text);
    if (!rating) {
        Console::line(QStringLiteral("SliderView: dropped a rating that is not a whole number from %1 to %2: ")
                          .arg(DroneSlider::minimumValue)
                          .arg(DroneSlider::maximumValue)
                      + OutsideText::printable(text));
        return;
    }
    m_questionShown = false;
    m_rating = rating;
    m_hasReceived = true;
    m_manager.setSliderValueReceivedAndDisplayed(true);
    m_manager.log(LogTime::logTimestamp() + QStringLiteral("\t ") + m_question + QLatin1Char(' ')
                  + QString::number(*rating));
    emit changed();
}
