#include "WindowFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QQuickItem>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TavorenPlugin)

WindowFixture::~WindowFixture()
{
    engine.reset();
}

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

QObject *WindowFixture::find(const QString &objectName, QObject *root) const
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

QString WindowFixture::text(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    return object ? object->property("text").toString() : QString();
}

bool WindowFixture::shown(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    if (auto *item = qobject_cast<QQuickItem *>(object))
        return item->isVisible();
    return object && object->property("visible").toBool();
}

bool WindowFixture::enabled(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    return object && object->property("enabled").toBool();
}

void WindowFixture::click(const QString &objectName, QObject *root)
{
    QObject *object = find(objectName, root);
    ASSERT_NE(object, nullptr);
    ASSERT_TRUE(object->property("enabled").toBool()) << objectName.toStdString() << " is disabled";
    ASSERT_TRUE(QMetaObject::invokeMethod(object, "clicked"));
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
    const QImage image = window->grabWindow();
    EXPECT_TRUE(image.save(QDir(folder).filePath(name + QStringLiteral(".png")))) << name.toStdString();
}
