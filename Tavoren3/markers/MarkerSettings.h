#pragma once

#include <QString>

// How markers go out: the trigger box's port (none when empty), its speed,
// the pulse, and the code sent at stop and completion (0: none).
struct MarkerSettings
{
    QString port;
    qint32 speed = 115200;
    int pulseWidthMs = 10;
    // The lines stay set until the next code instead of returning to 0.
    bool hold = false;
    int endCode = 0;

    // The remembered settings.
    static MarkerSettings load();
    void save() const;

    bool operator==(const MarkerSettings &) const = default;
};
