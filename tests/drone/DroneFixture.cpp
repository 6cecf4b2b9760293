#include "drone/DroneFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

DroneFixture::DroneFixture()
{
    QSettings().clear();
}

DroneFixture::~DroneFixture()
{
    QSettings().clear();
}

void DroneFixture::rememberDrone(const QString &name)
{
    QSettings().setValue(QString::fromLatin1(MultipeerSession::lastConnectedDroneKey), name);
}

bool DroneFixture::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

void DroneFixture::discover(MultipeerSession &session)
{
    session.setAutoInvite(true);
    session.startBrowsing();
    session.startAdvertising();
}

bool DroneFixture::connectedTo(const MultipeerSession &session, const QString &name)
{
    return waitFor([&] { return session.isConnected() && session.connectedPeerNames() == QStringList{name}; });
}
