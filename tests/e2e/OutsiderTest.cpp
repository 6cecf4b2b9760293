// The real timekeeper against outsiders on loopback that speak the drone
// link's wire protocol: they may cost it little and change nothing it writes.
#include "ResidentMemory.h"
#include "support/OutsiderProcess.h"
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TimekeeperProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>
#include <QUuid>
#include <gtest/gtest.h>

namespace {

// The CPU time of a process, in ticks.
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    stat.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return fields.size() > 15 ? fields.at(12).toLongLong() + fields.at(13).toLongLong() : -1;
}

// The link port that the timekeeper on loopback announces.
quint16 announcedPort(int timeoutMs = 15000)
{
    QUdpSocket listener;
    listener.bind(QHostAddress("127.255.255.255"), quint16(qEnvironmentVariableIntValue("TAVOREN_DISCOVERY_PORT")),
                  QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs && listener.waitForReadyRead(int(timeoutMs - waited.elapsed()))) {
        while (listener.hasPendingDatagrams()) {
            const QJsonObject announcement = QJsonDocument::fromJson(listener.receiveDatagram().data()).object();
            if (announcement.value("service") == "swift-mc-demo" && !announcement.contains("leaving"))
                return quint16(announcement.value("port").toInt());
        }
    }
    return 0;
}

} // namespace

TEST(Outsider, SilentLinksAndHalfFramesAreClosedAndTheMemoryReturns)
{
    TemporaryDocuments documents;
    TimekeeperProcess timekeeper(documents.path());
    const quint16 port = announcedPort();
    ASSERT_NE(port, 0);
    QTest::qWait(1000);
    const qint64 before = ResidentMemory::currentKiB(timekeeper.processId());

    OutsiderProcess silent({"links", "--port", QString::number(port), "--count", "300"});
    ASSERT_TRUE(silent.waitForLine("open ", 60000));
    EXPECT_TRUE(silent.waitForLine("closed", 12000)) << "a link that says no hello is closed after 5 s";

    OutsiderProcess halfFrames({"links", "--port", QString::number(port), "--count", "150", "--half-frames"});
    EXPECT_TRUE(timekeeper.waitUntil([&] { return halfFrames.said("closed") || halfFrames.said("left open"); }, 120000));
    ASSERT_TRUE(halfFrames.said("closed")) << halfFrames.lines().join('\n').toStdString();
    QTest::qWait(1000);
    const qint64 after = ResidentMemory::currentKiB(timekeeper.processId());
    std::cout << "timekeeper resident: before " << before / 1024 << " MB, peak "
              << ResidentMemory::peakKiB(timekeeper.processId()) / 1024 << " MB, after "
              << after / 1024 << " MB" << std::endl;
    EXPECT_LT(after - before, 16 * 1024);
}

TEST(Outsider, UnderAnOpenFileLimitEveryLabelLineOfARunIsWrittenBesideSilentLinks)
{
    TemporaryDocuments documents;
    using S = TestProtocol;
    documents.write("Research_protocols/short.json",
                    TestProtocol{"Short", "1", false,
                                 {S::step(1, "One", "one", 1), S::step(2, "Two", "two", 1), S::step(3, "Three", "three", 1)}}
                        .json());
    TimekeeperProcess timekeeper(documents.path(), {}, {"/usr/bin/prlimit", "--nofile=1024:1024", "--"});
    const quint16 port = announcedPort();
    ASSERT_NE(port, 0);
    OutsiderProcess silent({"links", "--port", QString::number(port), "--count", "1100"});
    const std::optional<QString> open = silent.lineAfter(0, "open ", 60000);
    ASSERT_TRUE(open);
    std::cout << open->mid(5).toStdString() << " of 1100 silent links open as the run starts" << std::endl;

    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("runRow short.json"); }));
    ASSERT_TRUE(timekeeper.type("ppidField", "7"));
    ASSERT_TRUE(timekeeper.click("startButton"));
    ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.shown("completionOverlay"); }, 30000));
    const QStringList files = QDir(documents.filePath("Label_files/Short")).entryList({"Short_7_*.lbl"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QStringList labels;
    for (const QString &line : QString::fromUtf8(documents.read("Label_files/Short/" + files.first())).split('\n', Qt::SkipEmptyParts))
        labels << line.section('\t', 1);
    EXPECT_EQ(labels, (QStringList{"Label", "Start", "one (1) started", "one (1) ended ", "two (2) started",
                                   "two (2) ended ", "three (3) started", "three (3) ended "}));
}

TEST(Outsider, AFloodOfAnnouncementsLeavesTheEventLogAFewLinesLong)
{
    TemporaryDocuments documents;
    TimekeeperProcess timekeeper(documents.path());
    ASSERT_NE(announcedPort(), 0);
    const qint64 cpuBefore = cpuTicks(timekeeper.processId());
    QUdpSocket sender;
    const auto discovery = quint16(qEnvironmentVariableIntValue("TAVOREN_DISCOVERY_PORT"));
    QElapsedTimer flood;
    flood.start();
    int sent = 0;
    while (flood.elapsed() < 5000) {
        // Each a new peer, "Lab drone", at a port where nobody listens.
        const QByteArray announcement = R"({"service":"swift-mc-demo","name":"Lab drone","id":")"
            + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + R"(","port":9})";
        sent += sender.writeDatagram(announcement, QHostAddress("127.255.255.255"), discovery) > 0;
        if (sent % 50 == 0)
            QTest::qWait(20);
    }
    QTest::qWait(2000);
    const double cpuSeconds = double(cpuTicks(timekeeper.processId()) - cpuBefore) / double(sysconf(_SC_CLK_TCK));
    const QStringList states = QString::fromUtf8(documents.read("log.lbl")).split('\n').filter("Connect");
    std::cout << sent << " announcements in 5 s: " << states.size() << " connection lines in the event log, "
              << cpuSeconds << " s of the timekeeper's CPU" << std::endl;
    EXPECT_GT(sent, 5000);
    EXPECT_LE(states.size(), 10) << states.join('\n').toStdString();
}
