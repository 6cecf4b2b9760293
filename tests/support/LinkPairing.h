#pragma once

#include <QString>

// Pairings made ahead of a test by writing both paired lists, as a finished
// pairing leaves them: the test process's own configuration folder, or the
// folders of the programs it starts.
namespace LinkPairing {

// This process's configuration folder, where its identity and paired lists live.
QString thisProcessFolder();
// Each folder's identity (made when missing) in the other's paired list.
void pair(const QString &timekeeperFolder, const QString &droneFolder, const QString &timekeeperName,
          const QString &droneName);

} // namespace LinkPairing
