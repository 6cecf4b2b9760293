#pragma once

#include "drone/BreathingPacer.h"
#include "drone/DroneCountdown.h"
#include "drone/DronePayload.h"
#include "drone/DroneSlider.h"
#include "drone/DroneVideo.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <optional>

class DroneEndpoint;

// What the participant's screen shows: the view named by the latest state
// from the timekeeper, with its texts. A resend of a state changes nothing;
// a pause holds the view under a "Paused" cover.
class DroneScreen : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the drone program on its endpoint.")
    Q_PROPERTY(QString kind READ kind NOTIFY changed)
    Q_PROPERTY(bool paused READ paused NOTIFY changed)
    Q_PROPERTY(QString pausedText READ pausedText CONSTANT)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString detail READ detail NOTIFY changed)
    Q_PROPERTY(QString digits READ digits NOTIFY changed)
    Q_PROPERTY(QStringList imageSources READ imageSources NOTIFY changed)
    Q_PROPERTY(QString problem READ problem NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(QString pairingCode READ pairingCode NOTIFY changed)
    Q_PROPERTY(QString pairingTitle READ pairingTitle NOTIFY changed)
    Q_PROPERTY(QString pairingHint READ pairingHint NOTIFY changed)
    Q_PROPERTY(bool pairEnabled READ pairEnabled NOTIFY changed)
    Q_PROPERTY(BreathingPacer *pacer READ pacer CONSTANT)
    Q_PROPERTY(DroneVideo *video READ video CONSTANT)
    Q_PROPERTY(DroneSlider *slider READ slider CONSTANT)

public:
    explicit DroneScreen(DroneEndpoint &endpoint, QObject *parent = nullptr);

    // "black", "timer", "climbing", "text", "images", "breathing", "video",
    // "slider", "exercise", "exercisesCompleted", "fall" or "done".
    QString kind() const;
    bool paused() const { return m_paused; }
    QString pausedText() const { return QStringLiteral("Paused"); }
    // The view's words, and its time as "mm:ss" where it has one.
    QString title() const;
    QString detail() const;
    QString digits() const;
    QStringList imageSources() const { return m_imageSources; }
    // A quiet line for whoever sets up the drone: pictures or a video that are missing.
    QString problem() const;
    // "Waiting for the timekeeper" while no timekeeper is connected.
    QString statusText() const;
    // While a timekeeper asks to pair: its code, shown large, and the touch that confirms it.
    QString pairingCode() const;
    QString pairingTitle() const;
    QString pairingHint() const;
    bool pairEnabled() const;
    Q_INVOKABLE void confirmPairing();
    Q_INVOKABLE void cancelPairing();

    DroneCountdown &countdown() { return m_countdown; }
    DroneCountdown &recovery() { return m_recovery; }
    BreathingPacer *pacer() { return &m_pacer; }
    DroneVideo *video() { return &m_video; }
    DroneSlider *slider() { return &m_slider; }

    // One state from the timekeeper.
    void show(const QString &payload);

signals:
    void changed();

private:
    using Kind = DronePayload::Kind;

    void apply(const DronePayload &state, const QString &payload);
    void setKind(Kind kind);
    void setPaused(bool paused);
    void loadImages(const QString &list);
    void exerciseShown(const DronePayload &state);

    DroneEndpoint &m_endpoint;
    Kind m_kind = Kind::black;
    bool m_paused = false;
    QString m_shownPayload;
    // After a resume or a reconnection, the state shown before it; the same
    // state arriving again goes on where it was.
    QString m_continued;
    QString m_text;
    QString m_exerciseName;
    std::optional<qint64> m_exerciseSeconds;
    Kind m_afterFall = Kind::black;
    QStringList m_imageSources;
    QString m_imageProblem;
    DroneCountdown m_countdown;
    DroneCountdown m_recovery;
    BreathingPacer m_pacer;
    DroneVideo m_video;
    DroneSlider m_slider;
};
