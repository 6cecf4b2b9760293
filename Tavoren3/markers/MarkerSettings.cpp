#include "markers/MarkerSettings.h"

#include <QSettings>

namespace {
constexpr auto portKey = "markers/port";
constexpr auto speedKey = "markers/speed";
constexpr auto pulseKey = "markers/pulseWidthMs";
constexpr auto holdKey = "markers/hold";
constexpr auto endKey = "markers/endCode";
} // namespace

MarkerSettings MarkerSettings::load()
{
    const QSettings stored;
    const MarkerSettings defaults;
    MarkerSettings settings;
    settings.port = stored.value(portKey, defaults.port).toString();
    settings.speed = stored.value(speedKey, defaults.speed).toInt();
    settings.pulseWidthMs = stored.value(pulseKey, defaults.pulseWidthMs).toInt();
    settings.hold = stored.value(holdKey, defaults.hold).toBool();
    settings.endCode = stored.value(endKey, defaults.endCode).toInt();
    return settings;
}

void MarkerSettings::save() const
{
    QSettings stored;
    stored.setValue(portKey, port);
    stored.setValue(speedKey, speed);
    stored.setValue(pulseKey, pulseWidthMs);
    stored.setValue(holdKey, hold);
    stored.setValue(endKey, endCode);
}
