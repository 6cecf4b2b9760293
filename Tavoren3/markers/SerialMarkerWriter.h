#pragma once

#include "markers/Marker.h"
#include "markers/MarkerSettings.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <chrono>
#include <optional>

// The trigger box's port, worked on a thread of its own. Each code is
// written at once and, unless the lines are held, followed by a 0 after the
// pulse width; a code that comes during a pulse waits for its 0. A port that
// goes away is opened again as soon as its name is back. While the lines are
// at rest, the caller's thread may write a code itself (writeAtOnce), so a
// boundary's byte leaves without waiting for this thread to wake.
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
    // From any thread: writes the code now if the lines are at rest and
    // nothing else is under way; false when it must go by write().
    bool writeAtOnce(const Marker &marker);
    // From any thread, before configure() is queued: no writes at once until it ran.
    void withholdLine();

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
    // Offers the port to writeAtOnce when it may be written from outside.
    void offerLine();
    // This thread's part of a code written at once: its 0 and its report.
    void wroteAtOnce(const Marker &marker, std::chrono::steady_clock::time_point at);

    QSerialPort m_port{this};
    MarkerSettings m_settings;
    QList<Marker> m_waiting;
    QTimer m_pulse{this};
    QTimer m_reopen{this};
    QTimer m_leave{this};
    std::optional<Marker> m_leaving;
    // Why markers cannot go out now; empty while the port is open.
    QString m_unavailable;
    bool m_nonBlocking = false;
    // Shared with writeAtOnce's thread.
    QMutex m_lineLock;
    int m_lineFd = -1;         // offered while >= 0
    bool m_claimed = false;    // a code written at once, not yet taken over
    bool m_withheld = false;   // a configure() on its way
};
