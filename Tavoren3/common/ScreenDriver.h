#pragma once

#include <QString>

class QObject;
class QQuickWindow;

// Works a window's controls by their object names, the way a finger would:
// a click emits the button's clicked(), typing sets the text and emits
// textEdited(). Also carries out one-line commands for remote control:
//   click NAME          (NAME may hold spaces)
//   type NAME TEXT      (NAME is one word)
//   text NAME | shown NAME | enabled NAME
//   screenshot FILE
//   close               (asks the window to close, as its close button does)
//   objects             (the QObjects alive, see LiveObjects)
// Each command answers with one line.
class ScreenDriver
{
public:
    explicit ScreenDriver(QQuickWindow *window) : m_window(window) {}

    // The first object of that name below root (the window when none is given).
    QObject *find(const QString &objectName, QObject *root = nullptr) const;

    // Empty when done, otherwise why not.
    QString click(const QString &objectName, QObject *root = nullptr) const;
    QString type(const QString &objectName, const QString &text, QObject *root = nullptr) const;
    static bool isShown(const QObject *object);

    QString perform(const QString &command) const;

private:
    QQuickWindow *m_window;
};
