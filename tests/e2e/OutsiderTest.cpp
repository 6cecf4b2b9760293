// The real timekeeper against outsiders on loopback that speak the drone
// link's wire protocol: they may cost it little and change nothing it writes.
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TimekeeperProcess.h"
#include "support/WirePeer.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QUuid>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// /proc of the timekeeper: its resident memory in kB and its CPU time in ticks.
qint64 residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    stat.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return fields.size() > 15 ? fields.at(12).toLongLong() + fields.at(13).toLongLong() : -1;
}

using Peers = std::vector<std::unique_ptr<WirePeer>>;

// Links that encrypt and then say nothing, opened a few at a time as a
// listening socket's queue takes them.
Peers silentLinks(quint16 port, int n)
{
    Peers peers;
    const auto settled = [](const auto &p) { return p->closed() || p->socket.isEncrypted(); };
    while (int(peers.size()) < n) {
        for (int i = 0; i < 40 && int(peers.size()) < n; ++i) {
            peers.push_back(std::make_unique<WirePeer>());
            QSslSocket &socket = peers.back()->socket;
            QObject::connect(&socket, &QSslSocket::sslErrors, [&socket] { socket.ignoreSslErrors(); });
            socket.connectToHostEncrypted("127.0.0.1", port);
        }
        QTest::qWaitFor([&] { return std::all_of(peers.cbegin(), peers.cend(), settled); }, 3000);
    }
    return peers;
}
bool allClosed(const Peers &peers, int timeoutMs)
{
    return QTest::qWaitFor([&] { return std::all_of(peers.cbegin(), peers.cend(), [](const auto &p) { return p->closed(); }); },
                           timeoutMs);
}

} // namespace

TEST(Outsider, SilentLinksAndHalfFramesAreClosedAndTheMemoryReturns)
{
    TemporaryDocuments documents;
    TimekeeperProcess timekeeper(documents.path());
    const quint16 port = announcedPort();
    ASSERT_NE(port, 0);
    QTest::qWait(1000);
    const qint64 before = residentKb(timekeeper.processId());

    const Peers silent = silentLinks(port, 300);
    EXPECT_TRUE(allClosed(silent, 12000)) << "a link that says no hello is closed after 5 s";

    qint64 peak = 0;
    for (int batch = 0; batch < 150 / 5; ++batch) {
        Peers halfFrames;
        for (int i = 0; i < 5; ++i) {
            halfFrames.push_back(std::make_unique<WirePeer>());
            if (halfFrames.back()->open(port))
                halfFrames.back()->socket.write(WirePeer::frame(QByteArray((1 << 20) - 2, 'x'), (1 << 20) - 1));
        }
        ASSERT_TRUE(allClosed(halfFrames, 3000)) << "batch " << batch;
        peak = std::max(peak, residentKb(timekeeper.processId()));
    }
    QTest::qWait(1000);
    const qint64 after = residentKb(timekeeper.processId());
    std::cout << "timekeeper resident: before " << before / 1024 << " MB, peak " << peak / 1024 << " MB, after "
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
    const Peers silent = silentLinks(port, 1100);
    std::cout << std::count_if(silent.cbegin(), silent.cend(), [](const auto &p) { return !p->closed(); })
              << " of 1100 silent links open as the run starts" << std::endl;

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
