#include "ScreenFixture.h"

#include "bridge/BleBackend.h"
#include "common/ScreenDriver.h"
#include "run/StartViewModel.h"

#include <QSettings>

ScreenFixture::ScreenFixture(MailComposer &mailComposer)
{
    // No drone remembered from an earlier test.
    QSettings().clear();
    Clock::install(clock);
    BleBackend::setUseSimulator(true);
    // Nothing leaves this machine: the update check meets a closed loopback port.
    appInfo.setManifestUrl(QUrl(QStringLiteral("http://127.0.0.1:1/manifest.plist")));
    app = std::make_unique<Tavoren3App>(sound, QStringLiteral("Test tablet"));
    models = std::make_unique<ScreenModels>(*app, appInfo, sound, urlOpener, mailComposer, haptics);
    load(QStringLiteral("qrc:/Tavoren/run/Main.qml"), {{QStringLiteral("models"), QVariant::fromValue(models.get())}});
}

ScreenFixture::~ScreenFixture()
{
    engine.reset();
    models.reset();
    app.reset();
    Clock::install(nullptr);
}

void ScreenFixture::type(const QString &objectName, const QString &value)
{
    ASSERT_NE(find(objectName), nullptr);
    const QString failure = ScreenDriver(window).type(objectName, value);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    settle();
}

void ScreenFixture::writeProtocol(const QString &fileName, const QByteArray &json) const
{
    documents.write(QStringLiteral("Research_protocols/") + fileName, json);
}

void ScreenFixture::addProtocol(const QString &fileName, const Protocol &protocol)
{
    writeProtocol(fileName, protocol.json());
    models->start()->appeared();
    settle();
}
