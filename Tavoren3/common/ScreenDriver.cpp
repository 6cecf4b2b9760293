#include "common/ScreenDriver.h"

#include "common/LiveObjects.h"

#include <QQuickItem>
#include <QQuickWindow>

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

QString noObject(const QString &name)
{
    return QStringLiteral("no object named ") + name;
}
} // namespace

QObject *ScreenDriver::find(const QString &objectName, QObject *root) const
{
    if (!root)
        root = m_window;
    QObject *found = root ? search(root, objectName) : nullptr;
    if (!found && root == m_window && m_window)
        found = search(m_window->contentItem(), objectName);
    return found;
}

QString ScreenDriver::click(const QString &objectName, QObject *root) const
{
    QObject *object = find(objectName, root);
    if (!object)
        return noObject(objectName);
    if (!object->property("enabled").toBool())
        return objectName + QStringLiteral(" is disabled");
    if (!QMetaObject::invokeMethod(object, "clicked"))
        return objectName + QStringLiteral(" cannot be clicked");
    return {};
}

QString ScreenDriver::type(const QString &objectName, const QString &text, QObject *root) const
{
    QObject *object = find(objectName, root);
    if (!object)
        return noObject(objectName);
    if (!object->setProperty("text", text))
        return objectName + QStringLiteral(" takes no text");
    QMetaObject::invokeMethod(object, "textEdited");
    return {};
}

bool ScreenDriver::isShown(const QObject *object)
{
    if (auto *item = qobject_cast<const QQuickItem *>(object))
        return item->isVisible();
    return object && object->property("visible").toBool();
}

QString ScreenDriver::perform(const QString &command) const
{
    const QString verb = command.section(QLatin1Char(' '), 0, 0);
    const QString rest = command.section(QLatin1Char(' '), 1);
    if (verb == QLatin1String("click")) {
        const QString failure = click(rest);
        return failure.isEmpty() ? QStringLiteral("clicked ") + rest : failure;
    }
    if (verb == QLatin1String("type")) {
        const QString name = rest.section(QLatin1Char(' '), 0, 0);
        const QString failure = type(name, rest.section(QLatin1Char(' '), 1));
        return failure.isEmpty() ? QStringLiteral("typed ") + name : failure;
    }
    if (verb == QLatin1String("text") || verb == QLatin1String("shown") || verb == QLatin1String("enabled")) {
        const QObject *object = find(rest);
        if (!object)
            return noObject(rest);
        QString value;
        if (verb == QLatin1String("text"))
            value = object->property("text").toString().replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        else if (verb == QLatin1String("shown"))
            value = isShown(object) ? QStringLiteral("true") : QStringLiteral("false");
        else
            value = object->property("enabled").toBool() ? QStringLiteral("true") : QStringLiteral("false");
        return verb + QLatin1Char(' ') + rest + QStringLiteral(": ") + value;
    }
    if (verb == QLatin1String("objects"))
        return QStringLiteral("objects %1").arg(LiveObjects::count());
    if (verb == QLatin1String("close")) {
        if (!m_window)
            return QStringLiteral("no window");
        return m_window->close() ? QStringLiteral("closed") : QStringLiteral("still open");
    }
    if (verb == QLatin1String("screenshot")) {
        if (!m_window || !m_window->grabWindow().save(rest))
            return QStringLiteral("could not write ") + rest;
        return QStringLiteral("screenshot ") + rest;
    }
    return QStringLiteral("Unknown command: ") + command;
}
