#pragma once

#include <QList>
#include <QString>
#include <optional>

// One state text from the timekeeper, read into what the drone shows.
class DronePayload
{
public:
    enum class Kind {
        black,
        pause,
        resume,
        done,
        timer,
        climbing,
        text,
        images,
        breathing,
        video,
        slider,
        fall,
        exercise,
        exercisesCompleted,
        unknown
    };

    static DronePayload parse(const QString &payload);

    Kind kind = Kind::unknown;
    // timer and climbing: the seconds to count down; exercise: its seconds, when given.
    std::optional<qint64> seconds;
    // text, the image list's name, the slider's question, the exercise's name or the video link.
    QString text;
    // breathing: inhale, hold, exhale, hold, in seconds.
    QList<double> breathingSeconds;
    // video: f1 (controls hidden), f2 (starts by itself), f3 (the step goes on after it).
    bool hideControls = false;
    bool autoStart = false;
    bool continueAfter = false;
};
