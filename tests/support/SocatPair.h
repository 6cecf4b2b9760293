#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <chrono>

// A pair of pseudo-terminals joined by socat: what is written to one end
// is read at the other, as from a serial device.
class SocatPair
{
public:
    struct Byte
    {
        unsigned char value;
        std::chrono::steady_clock::time_point at;
    };

    ~SocatPair();

    // The end the program opens, and the one the test reads.
    QString deviceEnd() const { return m_dir.filePath(QStringLiteral("A")); }
    QString readerEnd() const { return m_dir.filePath(QStringLiteral("B")); }

    // Starts socat and opens the reader's end; false when they did not come up.
    bool start();
    // Ends socat, as pulling the device's plug does.
    void kill();

    // Reads until count bytes arrived or timeoutMs passed, turning the event loop meanwhile.
    QList<Byte> read(int count, int timeoutMs = 3000);
    // The values of read().
    QByteArray readValues(int count, int timeoutMs = 3000);

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    int m_reader = -1;
};
