// Start of the timekeeper application to its first frame, measured from
// outside: `tavoren` runs under the offscreen platform with
// TAVOREN_REPORT_FIRST_FRAME set, which makes it say "first frame" on
// standard error once its window has shown its first frame. The last start
// then runs a protocol: a headless drone invites the timekeeper, the
// protocol is started through the screens (--headless takes touches on
// standard input) and the resident memory is followed while the steps go by.
//
//   bench_app_start [--runs R] [--watch S] [--program PATH] [--drone PATH]

#include "BenchTimekeeper.h"
#include "ResidentMemory.h"
#include "Samples.h"
#include "SyntheticProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

namespace {

// Starts the protocol with a drone beside it and follows the memory for
// watchSeconds of the run.
bool followRun(const BenchTimekeeper &bench, QProcess &timekeeper, const QString &droneProgram, int watchSeconds,
               QTextStream &out)
{
    QProcess drone;
    drone.setStandardOutputFile(QProcess::nullDevice());
    drone.setStandardErrorFile(QProcess::nullDevice());
    QByteArray output;
    if (!bench.startRunWithDrone(timekeeper, drone, droneProgram, output)) {
        out << "the run did not start: " << output.right(2000) << "\n";
        return false;
    }
    const qint64 pid = timekeeper.processId();
    const qint64 atStart = ResidentMemory::currentKiB(pid);
    qint64 largest = atStart;
    for (int second = 0; second < watchSeconds; ++second) {
        BenchTimekeeper::waitForOutput(timekeeper, QProcess::StandardOutput, output, QByteArray(), 1000);
        largest = std::max(largest, ResidentMemory::currentKiB(pid));
    }
    out << "label lines written during the run: " << output.count("/Label_files/Benchmark/") << "\n";
    out << "resident memory of tavoren during a run (" << watchSeconds / 2 << " two-second steps, drone on loopback): "
        << atStart << " KiB as the run started, " << ResidentMemory::currentKiB(pid) << " KiB after " << watchSeconds
        << " s (largest sample " << largest << " KiB, peak " << ResidentMemory::peakKiB(pid) << " KiB)\n";
    drone.kill();
    drone.waitForFinished(5000);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Starts to time."), QStringLiteral("R"),
                                        QStringLiteral("5"));
    const QCommandLineOption watchOption(QStringLiteral("watch"), QStringLiteral("Seconds to follow the memory."),
                                         QStringLiteral("S"), QStringLiteral("30"));
    const QCommandLineOption programOption(QStringLiteral("program"), QStringLiteral("The timekeeper program."),
                                           QStringLiteral("PATH"), QStringLiteral(TAVOREN_PROGRAM));
    const QCommandLineOption droneOption(QStringLiteral("drone"), QStringLiteral("The drone program."),
                                         QStringLiteral("PATH"), QStringLiteral(TAVOREN_DRONE_PROGRAM));
    parser.addOptions({runsOption, watchOption, programOption, droneOption});
    parser.process(app);
    QTextStream out(stdout);

    // Two-second steps, enough of them to last the watch, then one without timer.
    const int watchSeconds = std::max(1, parser.value(watchOption).toInt());
    const BenchTimekeeper bench(parser.value(programOption), SyntheticProtocol::json(watchSeconds / 2 + 2, 2, true));
    if (!bench.ready())
        return 1;

    Samples starts;
    const int runs = std::max(1, parser.value(runsOption).toInt());
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        QByteArray errors;
        if (!bench.start(process, errors)) {
            out << "no first frame: " << errors << "\n";
            return 1;
        }
        starts.add(double(timer.nsecsElapsed()) / 1000.0);
        if (run == runs - 1 && !followRun(bench, process, parser.value(droneOption), watchSeconds, out))
            return 1;
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    out << starts.summary(QStringLiteral("start to first frame")) << "\n";
    return 0;
}
