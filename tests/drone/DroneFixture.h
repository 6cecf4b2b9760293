#pragma once

#include "drone/MultipeerSession.h"
#include "support/ConsoleCapture.h"
#include "support/DroneProcess.h"
#include "support/TemporaryDocuments.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// No remembered drone and a temporary documents folder (the test program
// keeps discovery on loopback and settings in a folder of its own).
class DroneFixture : public ::testing::Test
{
protected:
    DroneFixture();
    ~DroneFixture() override;

    static void rememberDrone(const QString &name);
    bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000);
    // Lets the session find drones and invite them by itself.
    static void discover(MultipeerSession &session);
    bool connectedTo(const MultipeerSession &session, const QString &name);

    TemporaryDocuments documents;
    ConsoleCapture console;
};
