#pragma once

#include "markers/Marker.h"
#include "markers/MarkerSettings.h"

#include <QList>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <optional>

// The trigger box's port, worked on a thread of its own. Each code is
// written at once and, unless the lines are held, followed by a 0 after the
// pulse width; a code that comes during a pulse waits for its 0. A port that
// goes away is opened again as soon as its name is back.
class SerialMarkerWriter : public QObject
{
    Q_OBJECT

public:
    // A byte still not gone after this long is reported.
    static constexpr int leaveDeadlineMs = 50;

    explicit SerialMarkerWriter(QObject *parent = nullptr);

    // Closes the port and opens the one of settings, if any.
    void configure(const MarkerSettings &settings);
    void write(const Marker &marker);

    // Why a port could not be opened, in words.
    static QString openFailure(QSerialPort::SerialPortError error, const QString &port);
    // The device file of a port name: a path as it is, else below /dev.
    static QString location(const QString &port);

signals:
    void opened(const QString &port);
    void openFailed(const QString &port, const QString &reason);
    void lost(const QString &port, const QString &reason);
    void sent(const Marker &marker);
    void notSent(const Marker &marker, const QString &reason);
    void late(const Marker &marker);

private:
    // Why the port did not open; none when it did.
    std::optional<QString> open();
    void sendNext();
    bool put(char byte);
    void portError(QSerialPort::SerialPortError error);
    void tryReopen();

    QSerialPort m_port{this};
    MarkerSettings m_settings;
    QList<Marker> m_waiting;
    QTimer m_pulse{this};
    QTimer m_reopen{this};
    QTimer m_leave{this};
    std::optional<Marker> m_leaving;
    // Why markers cannot go out now; empty while the port is open.
    QString m_unavailable;
};
