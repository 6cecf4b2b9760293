#include "model/CurrentProtocol.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"
#include "support/LargeProtocol.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDocuments.h"
#include "support/TestSeed.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

const QString cli = QStringLiteral(TAVOREN_BINARY_DIR "/tools/cli/tavoren-cli");

// What convert writes for this input.
QByteArray converted(const QByteArray &input)
{
    return ProtocolWriter::encode(*ProtocolReader::decode(input).run);
}

} // namespace

TEST(SaveCrash, AConvertKilledAtAnyMomentLeavesTheOldFileOrTheNewOneWhole)
{
    TemporaryDocuments documents;
    documents.write("alpha.json", LargeProtocol::encoded("Alpha", 4000));
    documents.write("beta.json", LargeProtocol::encoded("Beta", 4000));
    const QString inputs[2] = {documents.filePath("alpha.json"), documents.filePath("beta.json")};
    const QByteArray whole[2] = {converted(documents.read("alpha.json")), converted(documents.read("beta.json"))};
    ASSERT_NE(whole[0], whole[1]);
    QDir().mkpath(documents.filePath("Research_protocols"));
    const QString out = documents.filePath("Research_protocols/study.json");

    // One whole run writes the first version and tells how long a run takes.
    QElapsedTimer clock;
    clock.start();
    const ProgramRun first = ProgramRun::of(cli, {"convert", inputs[0], out});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    const int runMs = int(std::max<qint64>(clock.elapsed(), 20));

    const unsigned s = testSeed();
    std::printf("seed %u (TAVOREN_SEED=%u repeats it), a whole run takes %d ms\n", s, s, runMs);
    std::mt19937 random(s);
    // Past the end of a run too, so that kills fall during the write and the rename.
    std::uniform_int_distribution<int> killAfter(0, runMs * 3 / 2);
    int current = 0;
    int killed = 0;
    int replaced = 0;
    for (int i = 0; i < 40; ++i) {
        const int next = 1 - current;
        QProcess convert;
        convert.start(cli, {"convert", inputs[next], out});
        ASSERT_TRUE(convert.waitForStarted());
        const int ms = killAfter(random);
        if (!convert.waitForFinished(ms)) {
            convert.kill();
            ASSERT_TRUE(convert.waitForFinished());
            ++killed;
        }
        const QByteArray now = documents.read("Research_protocols/study.json");
        ASSERT_TRUE(now == whole[current] || now == whole[next])
            << "run " << i << " killed after " << ms << " ms left " << now.size() << " bytes";
        ASSERT_TRUE(ProtocolReader::decode(now).run);
        if (now == whole[next]) {
            current = next;
            ++replaced;
        }
    }
    EXPECT_GT(killed, 0) << "every run had ended before its kill";

    // Whatever a killed run left beside it, the library lists only the protocol.
    const QStringList entries = QDir(documents.filePath("Research_protocols")).entryList(QDir::Files | QDir::Hidden);
    std::printf("%d runs killed, %d left the new file; the folder holds %lld entries\n", killed, replaced,
                static_cast<long long>(entries.size()));
    CurrentProtocol protocol;
    ProtocolLibrary library(protocol);
    library.listProtocols();
    EXPECT_EQ(library.configFiles(), QStringList{"study.json"}) << entries.join(", ").toStdString();
    EXPECT_TRUE(library.loadProtocol("study.json").run);
}
