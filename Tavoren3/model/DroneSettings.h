#pragma once

#include <QString>
#include <optional>

// A step's drone action, carried through load and save.
struct DroneSettings
{
    QString ActionType;
    std::optional<QString> Parameters;

    bool operator==(const DroneSettings &) const = default;
};
