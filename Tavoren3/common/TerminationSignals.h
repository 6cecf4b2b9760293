#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT, caught and reported on the main loop (the handler
// only writes the signal's number to a socket pair).
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void read();

    QSocketNotifier *m_notifier = nullptr;
};
