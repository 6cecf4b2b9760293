#include "support/LinkPairing.h"

#include "drone/DeviceIdentity.h"
#include "drone/PairedDevices.h"

#include <QDir>
#include <QStandardPaths>

namespace LinkPairing {

QString thisProcessFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

void pair(const QString &timekeeperFolder, const QString &droneFolder, const QString &timekeeperName,
          const QString &droneName)
{
    const DeviceIdentity timekeeper(timekeeperFolder);
    const DeviceIdentity drone(droneFolder);
    PairedDevices(QDir(timekeeperFolder).filePath(PairedDevices::dronesFile)).add(drone.fingerprint(), droneName);
    PairedDevices(QDir(droneFolder).filePath(PairedDevices::timekeepersFile)).add(timekeeper.fingerprint(), timekeeperName);
}

} // namespace LinkPairing
