#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

// Reads standard input without blocking the event loop and hands on each
// line, trimmed. Stops at end of input.
class StandardInputLines : public QObject
{
    Q_OBJECT

public:
    explicit StandardInputLines(QObject *parent = nullptr);

signals:
    void lineRead(const QString &line);

private:
    void readAvailable();

    QSocketNotifier m_notifier;
    QByteArray m_pending;
};
