#include "drone/FrameReader.h"

#include <QtEndian>

std::optional<QByteArray> FrameReader::next()
{
    if (m_oversize != 0 || m_buffer.size() < 4)
        return std::nullopt;
    const quint32 size = qFromBigEndian<quint32>(m_buffer.constData());
    if (size > m_maximumFrameSize) {
        m_oversize = size;
        return std::nullopt;
    }
    if (m_buffer.size() < qsizetype(size) + 4)
        return std::nullopt;
    QByteArray payload = m_buffer.mid(4, size);
    m_buffer.remove(0, qsizetype(size) + 4);
    // What a large frame took is given back once it is read.
    if (m_buffer.capacity() > 64 * 1024 && m_buffer.size() < m_buffer.capacity() / 4)
        m_buffer.squeeze();
    return payload;
}

QByteArray FrameReader::frame(const QByteArray &payload)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(quint32(payload.size()), bytes.data());
    return bytes + payload;
}
