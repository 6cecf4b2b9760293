#include "support/MjpegAvi.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

namespace {

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray out(id, 4);
    put32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2)
        out += '\0';
    return out;
}

QByteArray list(const char *type, const QByteArray &body)
{
    return chunk("LIST", QByteArray(type, 4) + body);
}

} // namespace

bool writeMjpegAvi(const QString &path, const QList<QImage> &frames, int framesPerSecond)
{
    if (frames.isEmpty() || framesPerSecond <= 0)
        return false;
    const quint32 width = quint32(frames.first().width());
    const quint32 height = quint32(frames.first().height());
    QList<QByteArray> jpegs;
    quint32 largest = 0;
    for (const QImage &frame : frames) {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (!frame.save(&buffer, "JPEG", 85))
            return false;
        largest = std::max(largest, quint32(jpeg.size()));
        jpegs.append(jpeg);
    }
    const quint32 count = quint32(jpegs.size());

    QByteArray avih;
    put32(avih, quint32(1000000 / framesPerSecond));
    put32(avih, largest * quint32(framesPerSecond));
    put32(avih, 0);
    put32(avih, 0x10); // has an index
    put32(avih, count);
    put32(avih, 0);
    put32(avih, 1);
    put32(avih, largest);
    put32(avih, width);
    put32(avih, height);
    for (int i = 0; i < 4; ++i)
        put32(avih, 0);

    QByteArray strh("vidsMJPG", 8);
    put32(strh, 0);
    put16(strh, 0);
    put16(strh, 0);
    put32(strh, 0);
    put32(strh, 1);
    put32(strh, quint32(framesPerSecond));
    put32(strh, 0);
    put32(strh, count);
    put32(strh, largest);
    put32(strh, 0xffffffff);
    put32(strh, 0);
    put16(strh, 0);
    put16(strh, 0);
    put16(strh, quint16(width));
    put16(strh, quint16(height));

    QByteArray strf;
    put32(strf, 40);
    put32(strf, width);
    put32(strf, height);
    put16(strf, 1);
    put16(strf, 24);
    strf += "MJPG";
    put32(strf, width * height * 3);
    for (int i = 0; i < 4; ++i)
        put32(strf, 0);

    QByteArray movi;
    QByteArray index;
    for (const QByteArray &jpeg : jpegs) {
        put32(index, 0x63643030); // "00dc"
        put32(index, 0x10);       // a key frame
        put32(index, quint32(4 + movi.size()));
        put32(index, quint32(jpeg.size()));
        movi += chunk("00dc", jpeg);
    }

    const QByteArray headers = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
    const QByteArray body = QByteArray("AVI ", 4) + headers + list("movi", movi) + chunk("idx1", index);
    const QByteArray film = chunk("RIFF", body);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(film) == film.size();
}
