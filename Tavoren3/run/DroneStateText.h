#pragma once

#include "model/DeelTestje.h"

#include <QString>
#include <optional>

// The state texts the drone is sent, built the same way by the run
// controller and by the step views.
class DroneStateText
{
public:
    // "breathing: a, 0.0, a, 0.0": a is 3.75 for "slow", 1.8 for "fast",
    // 2.5 for anything else (the word trimmed and lower-cased).
    static QString breathing(const QString &speed);
    // "video: link, f1, f2, f3"; f1 is true when the controls are NOT shown.
    static QString video(const QString &link, bool showButtons, bool autoStartPlaying, bool autoContinue);
    // Shortest decimal text that reads back to the same value, with a fraction part.
    static QString decimal(double value);

    // The state that stands for a whole step after a resume or a reconnection;
    // "black" when no view of the step speaks for the drone.
    static QString forStep(const std::optional<DeelTestje> &step, qint64 remainingTime);
};
