#include "drone/FrameReader.h"

#include <QList>

#include <gtest/gtest.h>

TEST(FrameReader, FramesComeWholeHoweverTheBytesArriveAndTheLengthIsBigEndian)
{
    EXPECT_EQ(FrameReader::frame(QByteArray(256, 'q')).left(4), QByteArray("\x00\x00\x01\x00", 4));
    const QByteArray stream = FrameReader::frame("@State: seq:1|black") + FrameReader::frame("")
        + FrameReader::frame(QByteArray(256, 'q')) + FrameReader::frame("@State: seq:2|text: a|b");
    FrameReader reader(1 << 20);
    QList<QByteArray> frames;
    for (const char byte : stream) {
        reader.append(QByteArray(1, byte));
        while (const std::optional<QByteArray> frame = reader.next())
            frames.append(*frame);
    }
    EXPECT_EQ(frames, (QList<QByteArray>{"@State: seq:1|black", "", QByteArray(256, 'q'), "@State: seq:2|text: a|b"}));
    EXPECT_EQ(reader.buffered(), 0);
    EXPECT_EQ(reader.oversize(), 0);
}

TEST(FrameReader, ALengthOverTheLimitStopsTheStream)
{
    FrameReader reader(16);
    reader.append(FrameReader::frame(QByteArray(16, 'a')) + FrameReader::frame(QByteArray(17, 'b'))
                  + FrameReader::frame("after"));
    EXPECT_EQ(reader.next(), QByteArray(16, 'a')) << "a frame at the limit is read";
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(reader.oversize(), 17);
    reader.append(FrameReader::frame("later"));
    EXPECT_FALSE(reader.next()) << "nothing after the broken frame is read";
}
