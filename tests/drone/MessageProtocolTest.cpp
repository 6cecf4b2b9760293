#include "drone/DroneFixture.h"
#include "drone/FrameReader.h"

#include <QSignalSpy>

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

using MessageProtocol = DroneFixture;

TEST_F(MessageProtocol, StatesAreNumberedFromOneAndOnlyThoseNotAcknowledgedAreResentOnce)
{
    for (const QString payload : {"black", "pause", "text: a|b|c", "timer: 4"})
        session.sendState(payload);
    EXPECT_EQ(session.stateSequence(), 4);
    EXPECT_EQ(session.lastMessage(), "@State: seq:4|timer: 4");
    session.handleReceivedData("@Ack: 2"); // a later acknowledgement covers the earlier state
    const auto resends = [&](int n) {
        return console.lines().count(QStringLiteral("No ACK for state seq %1 after 0.7s, resending once").arg(n));
    };
    ASSERT_TRUE(waitFor([&] { return resends(3) == 1 && resends(4) == 1; }));
    QTest::qWait(quietMs);
    EXPECT_EQ(QList<qsizetype>({resends(1), resends(2), resends(3), resends(4)}), QList<qsizetype>({0, 0, 1, 1}));
    EXPECT_EQ(session.lastAckedSequence(), 2);
}

TEST_F(MessageProtocol, AcknowledgementParsing)
{
    for (int i = 0; i < 9; ++i)
        session.sendState("black");
    // Each acknowledgement in turn, and the sequence then counted as acknowledged.
    const std::pair<const char *, qint64> acks[]{{"@Ack: \t 7 \t", 7},
                                                 {"@Ack: +9", 9},
                                                 {"@Ack: -3", 9}, // never sent
                                                 {"@Ack: 12\n", 9},
                                                 {"@Ack: 99999999999999999999", 9}, // does not fit 64 bits
                                                 {"@Ack: 10", 9}}; // not sent yet
    for (const auto &[data, acked] : acks) {
        session.handleReceivedData(data);
        EXPECT_EQ(session.lastAckedSequence(), acked) << data;
    }
    EXPECT_TRUE(console.contains("WARNING: ACK for state seq 10, which was never sent"));
    EXPECT_TRUE(console.contains("WARNING: Invalid ACK sequence '12\n'"));
    session.handleReceivedData("@Ack:13");
    EXPECT_EQ(session.receivedMessage(), "@Ack:13") << "without the space it is a free message";
}

TEST_F(MessageProtocol, SliderStateReportsAndFreeMessages)
{
    QSignalSpy changed(&session, &MultipeerSession::receivedMessageChanged);
    session.handleReceivedData("@Slider value is: 4@2");
    EXPECT_EQ(session.receivedMessage(), "Slider value is: 42");
    session.handleReceivedData("@State: showing timer");
    EXPECT_EQ(session.receivedMessage(), "Slider value is: 42");
    session.handleReceivedData("hello");
    session.handleReceivedData("hello");
    EXPECT_EQ(changed.count(), 2) << "only changes are announced";
    console.clear();
    session.handleReceivedData(QByteArray("\xff\xfe\x80", 3));
    EXPECT_EQ(session.receivedMessage(), "hello");
    EXPECT_TRUE(console.lines().isEmpty()) << "text that is not UTF-8 is ignored silently";
}
