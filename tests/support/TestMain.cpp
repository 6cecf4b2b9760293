#include "common/MediaBackend.h"
#include "drone/DeviceIdentity.h"
#include "support/LinkPairing.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Every announcement stays on loopback, on a discovery port of this
    // process's own, so test programs running side by side do not meet.
    qputenv("TAVOREN_DISCOVERY", "loopback");
    qputenv("TAVOREN_DISCOVERY_PORT", QByteArray::number(40000 + QCoreApplication::applicationPid() % 20000));
    // Screens are drawn off screen, in software, so they can be grabbed
    // anywhere; a run under a display may choose otherwise (video frames need
    // a graphics renderer to show).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // The drone link's identity and paired lists too; the timekeeper and the
    // drone of this process share the identity and are paired with each other.
    QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toUtf8());
    chooseMediaBackend();
    // Records of runs in progress go to a data folder of the run's own, which
    // the programs the tests start share.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("tavoren-tests"));
    LinkPairing::pair(LinkPairing::thisProcessFolder(), LinkPairing::thisProcessFolder(), QStringLiteral("test timekeeper"),
                      QStringLiteral("test drone"));
    // Made here, before a test points XDG_CONFIG_HOME elsewhere for a while.
    DeviceIdentity::shared();
    // Settings (the remembered drone) live in a folder of the run's own.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
