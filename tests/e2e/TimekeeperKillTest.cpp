// The timekeeper killed outright in the middle of a run, again and again:
// every label line it said it had written is in the file, whole and in order.
#include "support/TemporaryDocuments.h"
#include "support/TestProtocol.h"
#include "support/TestSeed.h"
#include "support/TimekeeperProcess.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

constexpr int stepCount = 30;

// One-second steps, and the label texts in the order the run writes them.
std::pair<TestProtocol, QStringList> quickSteps()
{
    TestProtocol protocol{"Quick steps", "1", false, {}};
    QStringList labels{"Start"};
    for (int n = 1; n <= stepCount; ++n) {
        protocol.steps.append(TestProtocol::step(n, "Step " + QString::number(n), "s" + QString::number(n), 1));
        labels << QStringLiteral("s%1 (%1) started").arg(n) << QStringLiteral("s%1 (%1) ended ").arg(n);
    }
    return {protocol, labels};
}

// How many writes to label files whose path holds `path` the timekeeper reported as done.
qsizetype reportedWrites(const QStringList &output, const QString &path)
{
    qsizetype count = 0;
    for (const QString &line : output)
        if ((line.startsWith("Eerste log weggeschreven naar: ") || line.startsWith("Nieuwe tijd en datum toegevoegd aan: "))
            && line.contains(path))
            ++count;
    return count;
}

} // namespace

TEST(TimekeeperKill, EveryLineReportedWrittenIsInTheFileWholeAfterASigkill)
{
    const unsigned seed = testSeed();
    std::printf("seed %u (TAVOREN_SEED=%u repeats it)\n", seed, seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killAfterMs(0, 6000);
    const auto [protocol, labels] = quickSteps();
    const QRegularExpression line(QStringLiteral("^\\d\\d-\\d\\d-\\d\\d/\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\\t(.*)$"));

    for (int round = 1; round <= 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TemporaryDocuments documents;
        documents.write("Research_protocols/quick.json", protocol.json());
        TimekeeperProcess timekeeper(documents.path());
        ASSERT_TRUE(timekeeper.waitUntil([&] { return timekeeper.click("runRow quick.json"); }));
        ASSERT_TRUE(timekeeper.type("ppidField", QString::number(round)));
        ASSERT_TRUE(timekeeper.click("startButton"));
        const int waitMs = killAfterMs(random);
        QTest::qWait(waitMs);
        timekeeper.kill();

        const QDir folder(documents.filePath("Label_files/Quicksteps"));
        const QStringList files = folder.entryList(QDir::Files | QDir::Hidden);
        ASSERT_LE(files.size(), 1) << files.join(' ').toStdString();
        if (files.isEmpty()) {
            EXPECT_EQ(reportedWrites(timekeeper.lines(), "/Label_files/"), 0);
            continue;
        }
        const QByteArray bytes = documents.read("Label_files/Quicksteps/" + files.first());
        ASSERT_TRUE(bytes.endsWith('\n')) << "a line cut short after " << waitMs << " ms";
        QStringList lines = QString::fromUtf8(bytes).split('\n');
        lines.removeLast();
        // The file is made with its heading; each line after it is one append.
        const qsizetype reported = reportedWrites(timekeeper.lines(), "/Label_files/Quicksteps/" + files.first());
        // A line may be on the disk before its report reached the console.
        EXPECT_GE(lines.size(), reported) << "killed after " << waitMs << " ms";
        EXPECT_LE(lines.size(), reported + 1) << "killed after " << waitMs << " ms";
        ASSERT_EQ(lines.first(), "# StartTime\tLabel");
        lines.removeFirst();
        ASSERT_LE(lines.size(), labels.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch match = line.match(lines.at(i));
            ASSERT_TRUE(match.hasMatch()) << lines.at(i).toStdString();
            EXPECT_EQ(match.captured(1), labels.at(i));
        }
    }
}
