#include "ScreenFixture.h"

#include "bridge/BleBackend.h"
#include "model/ProtocolWriter.h"
#include "run/StartViewModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QQuickItem>
#include <QSettings>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

ScreenFixture::ScreenFixture()
{
    // No drone remembered from an earlier test.
    QSettings().clear();
    Clock::install(clock);
    BleBackend::setUseSimulator(true);
    // Nothing leaves this machine: the update check meets a closed loopback port.
    appInfo.setManifestUrl(QUrl(QStringLiteral("http://127.0.0.1:1/manifest.plist")));
    app = std::make_unique<Tavoren3App>(sound, QStringLiteral("Test tablet"));
    models = std::make_unique<ScreenModels>(*app, appInfo, sound, urlOpener, composer, haptics);
    engine = std::make_unique<QQmlApplicationEngine>();
    engine->addImportPath(QStringLiteral("qrc:/"));
    engine->setInitialProperties({{QStringLiteral("models"), QVariant::fromValue(models.get())}});
    engine->load(QUrl(QStringLiteral("qrc:/Tavoren/run/Main.qml")));
    if (!engine->rootObjects().isEmpty())
        window = qobject_cast<QQuickWindow *>(engine->rootObjects().first());
    settle();
}

ScreenFixture::~ScreenFixture()
{
    engine.reset();
    models.reset();
    app.reset();
    Clock::install(nullptr);
}

namespace {
QObject *search(QObject *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QObject *child : root->children())
        if (QObject *found = search(child, name))
            return found;
    if (auto *item = qobject_cast<QQuickItem *>(root))
        for (QQuickItem *child : item->childItems())
            if (QObject *found = search(child, name))
                return found;
    return nullptr;
}
} // namespace

QObject *ScreenFixture::find(const QString &objectName, QObject *root) const
{
    if (!root && window)
        root = window;
    QObject *found = root ? search(root, objectName) : nullptr;
    if (!found && root == window && window)
        found = search(window->contentItem(), objectName);
    if (!found)
        ADD_FAILURE() << "no object named " << objectName.toStdString();
    return found;
}

QString ScreenFixture::text(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    return object ? object->property("text").toString() : QString();
}

bool ScreenFixture::shown(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    if (auto *item = qobject_cast<QQuickItem *>(object))
        return item->isVisible();
    return object && object->property("visible").toBool();
}

bool ScreenFixture::enabled(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    return object && object->property("enabled").toBool();
}

void ScreenFixture::click(const QString &objectName, QObject *root)
{
    QObject *object = find(objectName, root);
    ASSERT_NE(object, nullptr);
    ASSERT_TRUE(object->property("enabled").toBool()) << objectName.toStdString() << " is disabled";
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "clicked"));
    settle();
}

void ScreenFixture::type(const QString &objectName, const QString &value)
{
    QObject *object = find(objectName);
    ASSERT_NE(object, nullptr);
    object->setProperty("text", value);
    QMetaObject::invokeMethod(object, "textEdited");
    settle();
}

void ScreenFixture::settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

void ScreenFixture::screenshot(const QString &name) const
{
    const QString folder = qEnvironmentVariable("TAVOREN_SCREENSHOTS");
    if (folder.isEmpty() || !window)
        return;
    QDir().mkpath(folder);
    // Wheels and switches animate into place.
    QTest::qWait(1500);
    const QImage image = window->grabWindow();
    EXPECT_TRUE(image.save(QDir(folder).filePath(name + QStringLiteral(".png")))) << name.toStdString();
}

void ScreenFixture::writeProtocol(const QString &fileName, const QByteArray &json) const
{
    documents.write(QStringLiteral("Research_protocols/") + fileName, json);
}

DeelTestje ScreenFixture::step(qint64 numID, const QString &name, const QString &label, qint64 duration,
                               const QList<OptionalViewSettings> &views)
{
    DeelTestje step;
    step.numID = numID;
    step.name = name;
    step.labelID = label;
    step.duration = duration;
    step.description = name + QStringLiteral(" description");
    if (!views.isEmpty())
        step.optionalViews = views;
    return step;
}

void ScreenFixture::addProtocol(const QString &fileName, const Protocol &protocol)
{
    ::Run run;
    run.setVersion(protocol.version);
    run.setResearchName(protocol.researchName);
    run.setUsesDrone(protocol.usesDrone);
    if (!protocol.description.isEmpty())
        run.setResearchDescription(protocol.description);
    run.setSteps(protocol.steps);
    writeProtocol(fileName, ProtocolWriter::encode(run));
    models->start()->appeared();
    settle();
}
