// The one-second tick under load, in the real application: `tavoren` with
// its screens shown (off screen) runs a protocol of short steps, a headless
// drone on loopback acknowledges every state, and a busy loop keeps a second
// core busy. With TAVOREN_REPORT_TICKS set the application reports each
// tick's due and arrival times on the monotonic clock, taken before the run
// controller's work; a thread of this program sleeps with clock_nanosleep to
// the same deadlines in the same seconds.
//
//   bench_tick_load [--ticks N] [--step-seconds S] [--no-busy-loop] [--program PATH] [--drone PATH]

#include "BenchTimekeeper.h"
#include "SyntheticProtocol.h"
#include "TickComparison.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTextStream>
#include <memory>

namespace {

// Feeds the complete "tick DUE ARRIVAL" lines in pending to the comparison,
// which starts with the tick after the first one seen.
void readTicks(QByteArray &pending, std::unique_ptr<TickComparison> &comparison, int ticks)
{
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QList<QByteArray> fields = pending.left(end).split(' ');
        pending.remove(0, end + 1);
        if (fields.size() != 3 || fields[0] != "tick")
            continue;
        const TickComparison::Duration due(fields[1].toLongLong()), arrival(fields[2].toLongLong());
        if (!comparison)
            comparison = std::make_unique<TickComparison>(due + std::chrono::seconds(1), ticks);
        else
            comparison->addTick(due, arrival);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ticksOption(QStringLiteral("ticks"), QStringLiteral("Ticks to measure."),
                                         QStringLiteral("N"), QStringLiteral("120"));
    const QCommandLineOption stepOption(QStringLiteral("step-seconds"), QStringLiteral("Length of each step."),
                                        QStringLiteral("S"), QStringLiteral("2"));
    const QCommandLineOption quietOption(QStringLiteral("no-busy-loop"), QStringLiteral("Leave the second core alone."));
    const QCommandLineOption programOption(QStringLiteral("program"), QStringLiteral("The timekeeper program."),
                                           QStringLiteral("PATH"), QStringLiteral(TAVOREN_PROGRAM));
    const QCommandLineOption droneOption(QStringLiteral("drone"), QStringLiteral("The drone program."),
                                         QStringLiteral("PATH"), QStringLiteral(TAVOREN_DRONE_PROGRAM));
    parser.addOptions({ticksOption, stepOption, quietOption, programOption, droneOption});
    parser.process(app);
    const int ticks = std::max(2, parser.value(ticksOption).toInt());
    const int stepSeconds = std::max(1, parser.value(stepOption).toInt());
    QTextStream out(stdout);

    BenchTimekeeper bench(parser.value(programOption),
                          SyntheticProtocol::json(ticks / stepSeconds + 2, stepSeconds, true));
    bench.environment().insert(QStringLiteral("TAVOREN_REPORT_TICKS"), QStringLiteral("1"));
    if (!bench.ready())
        return 1;
    QProcess busyLoop;
    if (!parser.isSet(quietOption))
        busyLoop.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});

    QProcess timekeeper;
    QByteArray errors, output;
    if (!bench.start(timekeeper, errors)) {
        out << "no first frame: " << errors << "\n";
        return 1;
    }
    QTemporaryFile droneStates;
    droneStates.open();
    QProcess drone;
    drone.setStandardOutputFile(droneStates.fileName());
    drone.setStandardErrorFile(QProcess::nullDevice());
    if (!bench.startRunWithDrone(timekeeper, drone, parser.value(droneOption), output)) {
        out << "the run did not start: " << output.right(2000) << "\n";
        return 1;
    }

    // Only the ticks after the run has started count.
    QByteArray pending;
    std::unique_ptr<TickComparison> comparison;
    const QDeadlineTimer deadline(std::chrono::seconds(ticks + 30));
    while ((!comparison || !comparison->complete()) && !deadline.hasExpired()
           && timekeeper.state() == QProcess::Running) {
        timekeeper.setReadChannel(QProcess::StandardError);
        timekeeper.waitForReadyRead(1000);
        pending += timekeeper.readAllStandardError();
        output += timekeeper.readAllStandardOutput();
        readTicks(pending, comparison, ticks);
    }
    if (!comparison || !comparison->complete()) {
        out << "the ticks stopped coming\n";
        return 1;
    }

    timekeeper.write("quit\n");
    timekeeper.waitForFinished(5000);
    drone.kill();
    drone.waitForFinished(5000);
    busyLoop.kill();
    busyLoop.waitForFinished(5000);
    int received = 0, again = 0;
    for (const QByteArray &line : droneStates.readAll().split('\n')) {
        received += line.startsWith("state ");
        again += line.startsWith("state ") && line.contains(" again: ");
    }
    out << "ticks: " << ticks << " in tavoren with its screens (steps of " << stepSeconds << " s), "
        << (parser.isSet(quietOption) ? "no busy loop" : "a busy loop on the second core") << "\n"
        << "label lines written: " << output.count("/Label_files/Benchmark/") << "; states the drone received: "
        << received << " (" << again << " of them again)\n"
        << comparison->report();
    return 0;
}
