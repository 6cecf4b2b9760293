#include "WindowFixture.h"

#include "common/ScreenDriver.h"

#include <QCoreApplication>
#include <QDir>
#include <QQuickItem>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

void WindowFixture::load(const QString &url, const QVariantMap &properties)
{
    engine = std::make_unique<QQmlApplicationEngine>();
    engine->addImportPath(QStringLiteral("qrc:/"));
    engine->setInitialProperties(properties);
    engine->load(QUrl(url));
    if (!engine->rootObjects().isEmpty())
        window = qobject_cast<QQuickWindow *>(engine->rootObjects().first());
    settle();
}

QObject *WindowFixture::find(const QString &objectName, QObject *root) const
{
    QObject *found = ScreenDriver(window).find(objectName, root);
    if (!found)
        ADD_FAILURE() << "no object named " << objectName.toStdString();
    return found;
}

QVariant WindowFixture::property(const QString &objectName, const char *name, QObject *root) const
{
    QObject *object = find(objectName, root);
    return object ? object->property(name) : QVariant();
}

bool WindowFixture::shown(const QString &objectName, QObject *root) const
{
    return ScreenDriver::isShown(find(objectName, root));
}

void WindowFixture::click(const QString &objectName, QObject *root)
{
    const QString failure = ScreenDriver(window).click(objectName, root);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    settle();
}

void WindowFixture::type(const QString &objectName, const QString &value)
{
    const QString failure = ScreenDriver(window).type(objectName, value);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    settle();
}

void WindowFixture::settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

void WindowFixture::screenshot(const QString &name) const
{
    const QString folder = qEnvironmentVariable("TAVOREN_SCREENSHOTS");
    if (folder.isEmpty() || !window)
        return;
    QDir().mkpath(folder);
    // Wheels and switches animate into place.
    QTest::qWait(1500);
    EXPECT_TRUE(window->grabWindow().save(QDir(folder).filePath(name + QStringLiteral(".png")))) << name.toStdString();
}

QString WindowFixture::focused() const
{
    return window->activeFocusItem() ? window->activeFocusItem()->objectName() : QString();
}
