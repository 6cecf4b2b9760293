// The drone link's frame reader: the frames do not depend on how the bytes
// were cut into reads, framing them again gives back the bytes they came
// from, and a stream stops for good at a length over the limit.

#include "drone/FrameReader.h"

#include <QList>
#include <cstdint>
#include <cstdlib>

namespace {

// Small limit, so that inputs of a few kilobytes reach it.
constexpr qint64 limit = 512;

struct Outcome
{
    QList<QByteArray> frames;
    qint64 oversize = 0;
    qsizetype buffered = 0;
};

Outcome read(const QByteArray &stream, const QByteArray &cuts)
{
    FrameReader reader(limit);
    Outcome outcome;
    qsizetype at = 0;
    for (qsizetype i = 0; at < stream.size(); ++i) {
        const qsizetype length = cuts.isEmpty() ? stream.size() : 1 + quint8(cuts[i % cuts.size()]) % 64;
        reader.append(stream.mid(at, length));
        at += length;
        while (const std::optional<QByteArray> frame = reader.next())
            outcome.frames.append(*frame);
    }
    outcome.oversize = reader.oversize();
    outcome.buffered = reader.buffered();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte tells how many of the next bytes choose the read sizes.
    if (size == 0)
        return 0;
    const qsizetype cutCount = std::min<qsizetype>(data[0] % 16, qsizetype(size) - 1);
    const QByteArray cuts(reinterpret_cast<const char *>(data + 1), cutCount);
    const QByteArray stream(reinterpret_cast<const char *>(data + 1 + cutCount), qsizetype(size) - 1 - cutCount);

    const Outcome whole = read(stream, {});
    const Outcome pieces = read(stream, cuts);
    if (whole.frames != pieces.frames || whole.oversize != pieces.oversize || whole.buffered != pieces.buffered)
        std::abort();

    QByteArray reframed;
    for (const QByteArray &frame : whole.frames) {
        if (frame.size() > limit)
            std::abort();
        reframed += FrameReader::frame(frame);
    }
    if (!stream.startsWith(reframed) || reframed.size() + whole.buffered != stream.size())
        std::abort();
    if (whole.oversize != 0 && (whole.oversize <= limit || whole.buffered < 4))
        std::abort();
    return 0;
}
