#include "ScreenFixture.h"

#include "bridge/BleBackend.h"

ScreenFixture::ScreenFixture()
{
    Clock::install(clock);
    BleBackend::setUseSimulator(true);
    // Nothing leaves this machine: the update check meets a closed loopback port.
    appInfo.setManifestUrl(QUrl(QStringLiteral("http://127.0.0.1:1/manifest.plist")));
    app = std::make_unique<Tavoren3App>(sound, QStringLiteral("Test tablet"));
    models = std::make_unique<ScreenModels>(*app, appInfo, sound, urlOpener, composer, haptics);
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
    QObject *object = find(objectName);
    ASSERT_NE(object, nullptr);
    object->setProperty("text", value);
    QMetaObject::invokeMethod(object, "textEdited");
    settle();
}

void ScreenFixture::writeProtocol(const QString &fileName, const QByteArray &json) const
{
    documents.write(QStringLiteral("Research_protocols/") + fileName, json);
}
