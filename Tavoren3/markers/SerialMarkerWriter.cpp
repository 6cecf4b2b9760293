#include "markers/SerialMarkerWriter.h"

#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int reopenIntervalMs = 250;
}

SerialMarkerWriter::SerialMarkerWriter(QObject *parent) : QObject(parent)
{
    m_pulse.setSingleShot(true);
    m_pulse.setTimerType(Qt::PreciseTimer);
    m_leave.setSingleShot(true);
    m_leave.setTimerType(Qt::PreciseTimer);
    m_reopen.setInterval(reopenIntervalMs);
    connect(&m_pulse, &QTimer::timeout, this, [this] {
        if (put(0))
            sendNext();
        offerLine();
    });
    connect(&m_leave, &QTimer::timeout, this, [this] {
        if (m_leaving && m_port.isOpen() && m_port.bytesToWrite() > 0)
            emit late(*m_leaving);
        m_leaving.reset();
    });
    connect(&m_port, &QSerialPort::bytesWritten, this, [this] {
        if (m_port.bytesToWrite() == 0) {
            m_leave.stop();
            m_leaving.reset();
            offerLine();
        }
    });
    // Nothing is expected from the box; reading keeps a hang-up in sight.
    connect(&m_port, &QSerialPort::readyRead, this, [this] { m_port.readAll(); });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialMarkerWriter::portError);
    connect(&m_reopen, &QTimer::timeout, this, &SerialMarkerWriter::tryReopen);
}

QString SerialMarkerWriter::openFailure(QSerialPort::SerialPortError error, const QString &port)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError: return QStringLiteral("there is no port %1").arg(port);
    case QSerialPort::PermissionError:
        return QStringLiteral("this user may not use %1 (not in the serial port group \"dialout\"?), or another "
                              "program has it open")
            .arg(port);
    case QSerialPort::OpenError: return QStringLiteral("%1 is already open").arg(port);
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("%1 does not take the speed or the line settings").arg(port);
    default: break;
    }
    return QStringLiteral("%1 could not be opened").arg(port);
}

void SerialMarkerWriter::configure(const MarkerSettings &settings)
{
    m_reopen.stop();
    m_pulse.stop();
    if (m_port.isOpen()) {
        if (!m_settings.hold)
            put(0);
        m_port.close();
    }
    for (const Marker &marker : std::exchange(m_waiting, {}))
        emit notSent(marker, QStringLiteral("the trigger box was changed"));
    m_settings = settings;
    m_unavailable = QStringLiteral("no trigger box is chosen");
    {
        const QMutexLocker lock(&m_lineLock);
        m_withheld = false;
    }
    if (m_settings.port.isEmpty())
        return;
    if (const auto failure = open()) {
        m_unavailable = QStringLiteral("the trigger box could not be opened: ") + *failure;
        emit openFailed(m_settings.port, *failure);
    }
}

void SerialMarkerWriter::withholdLine()
{
    const QMutexLocker lock(&m_lineLock);
    m_withheld = true;
    m_lineFd = -1;
}

void SerialMarkerWriter::offerLine()
{
    const bool free = m_port.isOpen() && m_nonBlocking && !m_pulse.isActive() && m_waiting.isEmpty()
        && m_port.bytesToWrite() == 0;
    const QMutexLocker lock(&m_lineLock);
    m_lineFd = free && !m_claimed && !m_withheld ? int(m_port.handle()) : -1;
}

bool SerialMarkerWriter::writeAtOnce(const Marker &marker)
{
    {
        const QMutexLocker lock(&m_lineLock);
        const char byte = char(marker.code);
        if (m_lineFd < 0 || ::write(m_lineFd, &byte, 1) != 1)
            return false;
        m_lineFd = -1;
        m_claimed = true;
    }
    QMetaObject::invokeMethod(this, [this, marker, at = std::chrono::steady_clock::now()] { wroteAtOnce(marker, at); });
    return true;
}

void SerialMarkerWriter::wroteAtOnce(const Marker &marker, std::chrono::steady_clock::time_point at)
{
    if (!m_settings.hold) {
        const auto gone = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - at);
        m_pulse.start(int(std::max<qint64>(0, m_settings.pulseWidthMs - gone.count())));
    }
    {
        const QMutexLocker lock(&m_lineLock);
        m_claimed = false;
    }
    emit sent(marker);
    offerLine();
}

QString SerialMarkerWriter::location(const QString &port)
{
    return port.startsWith(QLatin1Char('/')) ? port : QStringLiteral("/dev/") + port;
}

std::optional<QString> SerialMarkerWriter::open()
{
    m_port.setPortName(m_settings.port);
    const bool ok = m_port.open(QIODevice::ReadWrite) && m_port.setBaudRate(m_settings.speed)
        && m_port.setDataBits(QSerialPort::Data8) && m_port.setParity(QSerialPort::NoParity)
        && m_port.setStopBits(QSerialPort::OneStop) && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        const QString reason = openFailure(m_port.error(), m_settings.port);
        m_port.close();
        m_port.clearError();
        return reason;
    }
    m_unavailable.clear();
    m_nonBlocking = (::fcntl(int(m_port.handle()), F_GETFL) & O_NONBLOCK) != 0;
    put(0);
    emit opened(m_settings.port);
    offerLine();
    return std::nullopt;
}

void SerialMarkerWriter::write(const Marker &marker)
{
    if (!m_unavailable.isEmpty()) {
        emit notSent(marker, m_unavailable);
        return;
    }
    m_waiting.append(marker);
    if (!m_pulse.isActive() && m_waiting.size() == 1)
        sendNext();
}

void SerialMarkerWriter::sendNext()
{
    while (!m_waiting.isEmpty() && !m_pulse.isActive()) {
        const Marker marker = m_waiting.takeFirst();
        if (!put(char(marker.code))) {
            emit notSent(marker, m_unavailable);
            continue;
        }
        if (!m_leaving && m_port.bytesToWrite() > 0) {
            m_leaving = marker;
            m_leave.start(leaveDeadlineMs);
        }
        emit sent(marker);
        if (!m_settings.hold)
            m_pulse.start(m_settings.pulseWidthMs);
    }
    offerLine();
}

bool SerialMarkerWriter::put(char byte)
{
    {
        const QMutexLocker lock(&m_lineLock);
        m_lineFd = -1;
    }
    if (!m_port.isOpen())
        return false;
    if (m_port.write(&byte, 1) != 1)
        return false;
    // Out to the device now, not at the next turn of this thread's loop.
    m_port.flush();
    return m_port.isOpen();
}

void SerialMarkerWriter::portError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !m_port.isOpen())
        return;
    const QString reason = m_port.errorString();
    {
        const QMutexLocker lock(&m_lineLock);
        m_lineFd = -1;
    }
    m_port.close();
    m_port.clearError();
    m_pulse.stop();
    m_leave.stop();
    m_leaving.reset();
    m_unavailable = QStringLiteral("the trigger box is lost");
    for (const Marker &marker : std::exchange(m_waiting, {}))
        emit notSent(marker, m_unavailable);
    emit lost(m_settings.port, reason);
    m_reopen.start();
}

void SerialMarkerWriter::tryReopen()
{
    // Lost until it opens again.
    if (QFileInfo::exists(location(m_settings.port)) && !open())
        m_reopen.stop();
}
