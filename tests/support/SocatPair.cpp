#include "support/SocatPair.h"

#include "common/EventLoopWait.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

SocatPair::~SocatPair()
{
    kill();
}

bool SocatPair::start()
{
    m_socat.start(QStringLiteral("socat"), {QStringLiteral("-d"), QStringLiteral("-d"),
                                            QStringLiteral("pty,raw,echo=0,link=") + deviceEnd(),
                                            QStringLiteral("pty,raw,echo=0,link=") + readerEnd()});
    if (!m_socat.waitForStarted(3000))
        return false;
    if (!EventLoopWait::until([this] { return QFileInfo::exists(deviceEnd()) && QFileInfo::exists(readerEnd()); },
                              5000))
        return false;
    m_reader = ::open(QFile::encodeName(readerEnd()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    return m_reader >= 0;
}

void SocatPair::kill()
{
    if (m_reader >= 0)
        ::close(m_reader);
    m_reader = -1;
    if (m_socat.state() != QProcess::NotRunning) {
        m_socat.kill();
        m_socat.waitForFinished(3000);
    }
    // socat leaves its links behind when it is killed.
    QFile::remove(deviceEnd());
    QFile::remove(readerEnd());
}

QList<SocatPair::Byte> SocatPair::read(int count, int timeoutMs)
{
    QList<Byte> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline && m_reader >= 0) {
        pollfd wanted{m_reader, POLLIN, 0};
        if (::poll(&wanted, 1, 2) > 0) {
            unsigned char buffer[64];
            const ssize_t got = ::read(m_reader, buffer, sizeof buffer);
            const auto at = std::chrono::steady_clock::now();
            for (ssize_t i = 0; i < got; ++i)
                bytes.append(Byte{buffer[i], at});
        }
        QCoreApplication::processEvents();
    }
    return bytes;
}

QByteArray SocatPair::readValues(int count, int timeoutMs)
{
    QByteArray values;
    for (const Byte &byte : read(count, timeoutMs))
        values.append(char(byte.value));
    return values;
}
