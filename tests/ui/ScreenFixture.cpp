#include "ScreenFixture.h"

#include "bridge/BleBackend.h"
#include "run/StartViewModel.h"

#include <QSettings>

ScreenFixture::ScreenFixture(MailComposer &mailComposer)
{
    // No drone remembered from an earlier test.
    QSettings().clear();
    Clock::install(clock);
    BleBackend::setUseSimulator(true);
    // Nothing leaves this machine: the update check finds no manifest.
    appInfo.setManifestUrl(QUrl::fromLocalFile(documents.filePath(QStringLiteral("no-manifest.plist"))));
    app = std::make_unique<Tavoren3App>(sound, QStringLiteral("Test tablet"));
    webDrone = std::make_unique<WebDroneServer>(&app->VESK_Session(),
                                                WebDroneServer::Options{WebDroneServer::defaultAddress(), 0, {}, {}});
    WebDroneServer::setInstance(webDrone.get());
    models = std::make_unique<ScreenModels>(*app, appInfo, sound, urlOpener, mailComposer, haptics);
    load(QStringLiteral("qrc:/Tavoren/run/Main.qml"), {{QStringLiteral("models"), QVariant::fromValue(models.get())}});
}

ScreenFixture::~ScreenFixture()
{
    engine.reset();
    models.reset();
    webDrone.reset();
    app.reset();
    Clock::install(nullptr);
}

void ScreenFixture::addProtocol(const QString &fileName, const TestProtocol &protocol)
{
    documents.write(QStringLiteral("Research_protocols/") + fileName, protocol.json());
    models->start()->appeared();
    settle();
}
