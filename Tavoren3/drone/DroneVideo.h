#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// The video on the drone: where it is, whether it plays, whether the
// participant has controls, and what follows its end.
class DroneVideo : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by DroneScreen.")
    Q_PROPERTY(QUrl source READ source NOTIFY changed)
    Q_PROPERTY(bool controlsShown READ controlsShown NOTIFY changed)
    Q_PROPERTY(bool playing READ playing NOTIFY changed)
    Q_PROPERTY(QString problem READ problem NOTIFY changed)

public:
    explicit DroneVideo(QObject *parent = nullptr);

    // A file of that name in the documents folder, then among the
    // application's files; nothing for a path out of them or an address.
    static QUrl locate(const QString &link);

    QUrl source() const { return m_source; }
    bool controlsShown() const { return m_controlsShown; }
    // Whether the player should be playing now.
    bool playing() const { return m_wantsPlay && !m_frozen; }
    bool continueAfter() const { return m_continueAfter; }
    // Why nothing plays, in a quiet line for whoever sets up the drone.
    QString problem() const { return m_problem; }

    void load(const QString &link, bool hideControls, bool autoStart, bool continueAfter);
    void freeze();
    void thaw();

    // From the participant's controls.
    Q_INVOKABLE void play();
    Q_INVOKABLE void pause();
    // From the player.
    Q_INVOKABLE void playbackEnded();
    Q_INVOKABLE void playbackFailed(const QString &error);

signals:
    void changed();
    // The video has played to its end and the step goes on without it.
    void finishedAndContinue();

private:
    void setWantsPlay(bool play);

    QUrl m_source;
    QString m_problem;
    bool m_controlsShown = false;
    bool m_continueAfter = false;
    bool m_wantsPlay = false;
    bool m_frozen = false;
};
