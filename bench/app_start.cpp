// Start of the timekeeper application to its first frame, measured from
// outside: `tavoren` runs under the offscreen platform with
// TAVOREN_REPORT_FIRST_FRAME set, which makes it say "first frame" on
// standard error once its window has shown its first frame. The last start
// then runs a protocol: a headless drone invites the timekeeper, the
// protocol is started through the screens (--headless takes touches on
// standard input) and the resident memory is followed while the steps go by.
//
//   bench_app_start [--runs R] [--watch S] [--program PATH] [--drone PATH]

#include "ResidentMemory.h"
#include "Samples.h"
#include "SyntheticProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Reads what the timekeeper prints on one channel (and hands it what was
// written to it) until the wanted text has come or the time is up; an empty
// text waits the whole time. The wait wakes as soon as that channel has data.
bool waitForOutput(QProcess &process, QProcess::ProcessChannel channel, QByteArray &output, const QByteArray &wanted,
                   int timeoutMs)
{
    process.setReadChannel(channel);
    const QDeadlineTimer deadline(timeoutMs);
    while ((wanted.isEmpty() || !output.contains(wanted)) && !deadline.hasExpired()
           && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(100);
        output += process.readAll();
    }
    return output.contains(wanted);
}

// Starts the protocol with a drone beside it and follows the memory for
// watchSeconds of the run.
bool followRun(QProcess &timekeeper, const QString &droneProgram, const QProcessEnvironment &environment,
               int watchSeconds, QTextStream &out)
{
    QProcess drone;
    drone.setProcessEnvironment(environment);
    drone.setStandardOutputFile(QProcess::nullDevice());
    drone.setStandardErrorFile(QProcess::nullDevice());
    drone.start(droneProgram, {QStringLiteral("--headless"), QStringLiteral("--name"), QStringLiteral("Bench drone"),
                               QStringLiteral("--invite")});
    QByteArray output;
    timekeeper.write("click runRow bench.json\n");
    bool connected = false;
    for (int attempt = 0; attempt < 100 && !connected; ++attempt) {
        timekeeper.write("text droneInfo\n");
        connected = waitForOutput(timekeeper, QProcess::StandardOutput, output,
                                  "= text droneInfo: Drone device name: Bench drone", 200);
    }
    timekeeper.write("type ppidField 1\nclick startButton\n");
    if (!connected || !waitForOutput(timekeeper, QProcess::StandardOutput, output, "= clicked startButton", 10000)) {
        out << "the run did not start: " << output.right(2000) << "\n";
        return false;
    }
    const qint64 pid = timekeeper.processId();
    const qint64 atStart = ResidentMemory::currentKiB(pid);
    qint64 largest = atStart;
    for (int second = 0; second < watchSeconds; ++second) {
        waitForOutput(timekeeper, QProcess::StandardOutput, output, QByteArray(), 1000);
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

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TAVOREN_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TAVOREN_DISCOVERY"), QStringLiteral("loopback"));
    environment.insert(QStringLiteral("TAVOREN_DISCOVERY_PORT"),
                       QString::number(40000 + QCoreApplication::applicationPid() % 10000));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));

    // Two-second steps, enough of them to last the watch, then one without timer.
    const int watchSeconds = std::max(1, parser.value(watchOption).toInt());
    const QString documents = home.filePath(QStringLiteral("Documents"));
    QDir().mkpath(documents + QStringLiteral("/Research_protocols"));
    QFile protocol(documents + QStringLiteral("/Research_protocols/bench.json"));
    if (!protocol.open(QIODevice::WriteOnly) || protocol.write(SyntheticProtocol::json(watchSeconds / 2 + 2, 2, true)) < 0)
        return 1;
    protocol.close();
    const QStringList arguments{QStringLiteral("--headless"), QStringLiteral("--documents"), documents,
                                QStringLiteral("--manifest"), QStringLiteral("http://127.0.0.1:1/manifest.plist")};

    Samples starts;
    const int runs = std::max(1, parser.value(runsOption).toInt());
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(parser.value(programOption), arguments);
        QByteArray errors;
        if (!waitForOutput(process, QProcess::StandardError, errors, "first frame\n", 60000)) {
            out << "no first frame: " << errors << "\n";
            return 1;
        }
        starts.add(double(timer.nsecsElapsed()) / 1000.0);
        if (run == runs - 1 && !followRun(process, parser.value(droneOption), environment, watchSeconds, out))
            return 1;
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    out << starts.summary(QStringLiteral("start to first frame")) << "\n";
    return 0;
}
