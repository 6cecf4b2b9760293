#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// Cuts a byte stream into frames: a 4-byte big-endian length, then that
// many bytes. A length over the limit breaks the stream for good.
class FrameReader
{
public:
    explicit FrameReader(qint64 maximumFrameSize) : m_maximumFrameSize(maximumFrameSize) {}

    void append(const QByteArray &bytes) { m_buffer += bytes; }
    qint64 maximumFrameSize() const { return m_maximumFrameSize; }
    void setMaximumFrameSize(qint64 size) { m_maximumFrameSize = size; }
    // The next whole frame's payload; none while bytes are missing or once
    // the stream announced a frame over the limit.
    std::optional<QByteArray> next();
    // The announced size of the frame that broke the limit; 0 while none did.
    qint64 oversize() const { return m_oversize; }
    qsizetype buffered() const { return m_buffer.size(); }

    static QByteArray frame(const QByteArray &payload);

private:
    qint64 m_maximumFrameSize;
    qint64 m_oversize = 0;
    QByteArray m_buffer;
};
