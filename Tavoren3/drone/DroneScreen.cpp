#include "drone/DroneScreen.h"

#include "common/ChangeForwarding.h"
#include "common/Console.h"
#include "drone/DroneEndpoint.h"
#include "run/LogTime.h"
#include "tasks/ClimbingView.h"
#include "tasks/ImageView.h"

DroneScreen::DroneScreen(DroneEndpoint &endpoint, QObject *parent) : QObject(parent), m_endpoint(endpoint)
{
    connect(&endpoint, &DroneEndpoint::stateReceived, this,
            [this](qint64, const QString &payload, bool repeat) {
                if (!repeat)
                    show(payload);
            });
    connect(&endpoint, &DroneEndpoint::connectedChanged, this, [this] {
        if (m_endpoint.connected())
            m_continued = m_shownPayload;
        emit changed();
    });
    connect(&endpoint, &DroneEndpoint::pairingChanged, this, &DroneScreen::changed);
    connect(&m_slider, &DroneSlider::rated, &endpoint, &DroneEndpoint::sendSlider);
    connect(&m_video, &DroneVideo::finishedAndContinue, this, [this] {
        if (m_kind == Kind::video)
            setKind(Kind::black);
    });
    connect(&m_recovery, &DroneCountdown::reachedZero, this, [this] {
        if (m_kind == Kind::fall)
            setKind(m_afterFall);
    });
    forwardChanges(m_countdown, *this);
    forwardChanges(m_recovery, *this);
    forwardChanges(m_video, *this);
}

QString DroneScreen::kind() const
{
    switch (m_kind) {
    case Kind::timer:
        return QStringLiteral("timer");
    case Kind::climbing:
        return QStringLiteral("climbing");
    case Kind::text:
        return QStringLiteral("text");
    case Kind::images:
        return QStringLiteral("images");
    case Kind::breathing:
        return QStringLiteral("breathing");
    case Kind::video:
        return QStringLiteral("video");
    case Kind::slider:
        return QStringLiteral("slider");
    case Kind::exercise:
        return QStringLiteral("exercise");
    case Kind::exercisesCompleted:
        return QStringLiteral("exercisesCompleted");
    case Kind::fall:
        return QStringLiteral("fall");
    case Kind::done:
        return QStringLiteral("done");
    case Kind::black:
    case Kind::pause:
    case Kind::resume:
    case Kind::unknown:
        break;
    }
    return QStringLiteral("black");
}

QString DroneScreen::title() const
{
    switch (m_kind) {
    case Kind::climbing:
        return QStringLiteral("Time remaining");
    case Kind::text:
        return m_text;
    case Kind::exercise:
        return m_exerciseName;
    case Kind::exercisesCompleted:
        return QStringLiteral("Exercises completed");
    case Kind::fall:
        return QStringLiteral("You can restart in");
    case Kind::done:
        return QStringLiteral("Done");
    default:
        return QString();
    }
}

QString DroneScreen::detail() const
{
    return m_kind == Kind::done ? QStringLiteral("Thank you") : QString();
}

QString DroneScreen::digits() const
{
    switch (m_kind) {
    case Kind::timer:
    case Kind::climbing:
        return m_countdown.text();
    case Kind::fall:
        return m_recovery.text();
    case Kind::exercise:
        return m_exerciseSeconds ? LogTime::minutesAndSeconds(std::max<qint64>(0, *m_exerciseSeconds)) : QString();
    default:
        return QString();
    }
}

QString DroneScreen::problem() const
{
    if (m_kind == Kind::images)
        return m_imageProblem;
    if (m_kind == Kind::video)
        return m_video.problem();
    return QString();
}

QString DroneScreen::statusText() const
{
    return m_endpoint.connected() ? QString() : QStringLiteral("Waiting for the timekeeper");
}

QString DroneScreen::pairingCode() const
{
    return m_endpoint.pairingCode();
}

QString DroneScreen::pairingTitle() const
{
    return pairingCode().isEmpty() ? QString()
                                   : QStringLiteral("Pair with the timekeeper ") + m_endpoint.pairingPeerName() + QLatin1Char('?');
}

QString DroneScreen::pairingHint() const
{
    if (pairingCode().isEmpty())
        return {};
    return m_endpoint.pairingConfirmedHere() ? QStringLiteral("Waiting for Pair on the timekeeper...")
                                             : QStringLiteral("Press Pair when the timekeeper shows the same code.");
}

bool DroneScreen::pairEnabled() const
{
    return !pairingCode().isEmpty() && !m_endpoint.pairingConfirmedHere();
}

void DroneScreen::confirmPairing()
{
    m_endpoint.confirmPairing();
}

void DroneScreen::cancelPairing()
{
    m_endpoint.cancelPairing();
}

void DroneScreen::show(const QString &payload)
{
    const DronePayload state = DronePayload::parse(payload);
    if (state.kind == Kind::pause) {
        setPaused(true);
        return;
    }
    if (state.kind == Kind::resume) {
        if (m_paused)
            m_continued = m_shownPayload;
        setPaused(false);
        return;
    }
    setPaused(false);
    const bool continued = !m_continued.isEmpty() && payload == m_continued;
    m_continued.clear();
    // Views that run on their own go on where they were; a countdown takes the timekeeper's time.
    if (continued && state.kind != Kind::timer && state.kind != Kind::climbing && state.kind != Kind::exercise)
        return;
    apply(state, payload);
}

void DroneScreen::apply(const DronePayload &state, const QString &payload)
{
    m_shownPayload = payload;
    Kind kind = state.kind;
    switch (kind) {
    case Kind::timer:
    case Kind::climbing:
        m_countdown.start(*state.seconds);
        break;
    case Kind::fall:
        if (m_kind != Kind::fall)
            m_afterFall = m_kind == Kind::timer || m_kind == Kind::climbing ? m_kind : Kind::black;
        m_recovery.start(ClimbingView::recoverySeconds);
        break;
    case Kind::text:
        m_text = state.text;
        break;
    case Kind::images:
        loadImages(state.text);
        break;
    case Kind::breathing:
        m_pacer.start(state.breathingSeconds);
        break;
    case Kind::video:
        m_video.load(state.text, state.hideControls, state.autoStart, state.continueAfter);
        break;
    case Kind::slider:
        m_slider.ask(state.text);
        break;
    case Kind::exercise:
        exerciseShown(state);
        break;
    case Kind::unknown:
        Console::line(QStringLiteral("Unknown state, showing black: '") + payload + QLatin1Char('\''));
        kind = Kind::black;
        break;
    case Kind::black:
    case Kind::done:
    case Kind::exercisesCompleted:
    case Kind::pause:
    case Kind::resume:
        break;
    }
    if (kind != Kind::timer && kind != Kind::climbing && kind != Kind::fall)
        m_countdown.stop();
    if (kind != Kind::fall)
        m_recovery.stop();
    if (kind != Kind::breathing)
        m_pacer.stop();
    m_kind = kind;
    emit changed();
}

void DroneScreen::exerciseShown(const DronePayload &state)
{
    // The name alone, right after the same exercise with its seconds, keeps the seconds.
    const bool sameExercise = m_kind == Kind::exercise && m_exerciseName == state.text;
    if (state.seconds || !sameExercise)
        m_exerciseSeconds = state.seconds;
    m_exerciseName = state.text;
}

void DroneScreen::loadImages(const QString &list)
{
    ImageView images(list, ImageView::Reach::namesOnly);
    images.appeared();
    m_imageSources = images.imageSources();
    m_imageProblem = images.loadErrorText();
    if (!m_imageProblem.isEmpty())
        Console::line(QStringLiteral("Image set ") + list + QStringLiteral(": ") + m_imageProblem);
}

void DroneScreen::setKind(Kind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit changed();
}

void DroneScreen::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (paused) {
        m_countdown.freeze();
        m_recovery.freeze();
        m_pacer.freeze();
        m_video.freeze();
    } else {
        m_countdown.thaw();
        m_recovery.thaw();
        m_pacer.thaw();
        m_video.thaw();
    }
    emit changed();
}
