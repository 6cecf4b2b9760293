#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class VerkeersLeiding;

// The question before the window closes (its close button, Ctrl+Q) while a
// run is in progress.
class QuitQuestion : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QString message READ message CONSTANT)
    Q_PROPERTY(QStringList buttons READ buttons CONSTANT)

public:
    explicit QuitQuestion(VerkeersLeiding &controller, QObject *parent = nullptr);

    bool shown() const { return m_shown; }
    QString title() const { return QStringLiteral("Quit"); }
    QString message() const;
    // "Cancel", "Quit".
    QStringList buttons() const;

    // The window is about to close: whether it may; if not, the question shows.
    Q_INVOKABLE bool mayClose();
    // "Quit" lets the window close (quitConfirmed); anything else keeps it.
    Q_INVOKABLE void choose(const QString &button);

signals:
    void shownChanged();
    void quitConfirmed();

private:
    void setShown(bool shown);

    VerkeersLeiding &m_controller;
    bool m_shown = false;
    bool m_confirmed = false;
};
