#pragma once

#include "drone/MultipeerSession.h"
#include "support/ConsoleCapture.h"
#include "support/DroneProcess.h"
#include "support/TemporaryDocuments.h"

#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace DroneLink {

// How long a test waits to see that something (a second resend, an
// invitation) does not happen: the resend check and a margin.
constexpr int quietMs = MultipeerSession::ackDelayMs + 800;

inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}
// Lets the session find drones and invite them by itself.
inline void discover(MultipeerSession &session)
{
    session.setAutoInvite(true);
    session.startBrowsing();
    session.startAdvertising();
}
inline bool connectedTo(const MultipeerSession &session, const QString &name)
{
    return waitFor([&] { return session.isConnected() && session.connectedPeerNames() == QStringList{name}; });
}

} // namespace DroneLink

using namespace DroneLink;

// A timekeeper's session, no remembered drone and a temporary documents folder
// (the test program keeps discovery on loopback and settings in a folder of its own).
class DroneFixture : public ::testing::Test
{
protected:
    DroneFixture() { QSettings().clear(); }
    ~DroneFixture() override { QSettings().clear(); }

    TemporaryDocuments documents;
    ConsoleCapture console;
    MultipeerSession session{QStringLiteral("timekeeper")};
};
