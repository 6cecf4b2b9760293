// Memory over a long run, in the real application: `tavoren` with its
// screens shown (off screen) runs a protocol of short steps through every
// drone-side view that needs no answer and the operator-side tasks, a
// headless drone on loopback acknowledges every state. Every minute it
// prints both programs' resident memory, the timekeeper's open file
// descriptors and live QObjects; at the end the growth per hour after the
// first ten minutes (least squares over the minutes from then on).
//
//   bench_soak [--minutes M] [--step-seconds S] [--program PATH] [--drone PATH]

#include "BenchTimekeeper.h"
#include "ResidentMemory.h"
#include "SyntheticProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QTextStream>

namespace {

qint64 openFiles(qint64 pid)
{
    return QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

// The timekeeper's answer to "objects", or -1.
qint64 liveObjects(QProcess &timekeeper, QByteArray &output)
{
    const qsizetype from = output.size();
    timekeeper.write("objects\n");
    BenchTimekeeper::waitForOutput(timekeeper, QProcess::StandardOutput, output, "= objects ", 5000);
    const qsizetype at = output.indexOf("= objects ", from);
    if (at < 0)
        return -1;
    const qsizetype end = output.indexOf('\n', at);
    return output.mid(at + 10, end - at - 10).toLongLong();
}

// Slope of y over x (minutes), per hour.
double perHour(const QList<double> &x, const QList<double> &y)
{
    const qsizetype n = x.size();
    if (n < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (qsizetype i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx) * 60;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption minutesOption(QStringLiteral("minutes"), QStringLiteral("Minutes to run."),
                                           QStringLiteral("M"), QStringLiteral("120"));
    const QCommandLineOption stepOption(QStringLiteral("step-seconds"), QStringLiteral("Length of each step."),
                                        QStringLiteral("S"), QStringLiteral("2"));
    const QCommandLineOption programOption(QStringLiteral("program"), QStringLiteral("The timekeeper program."),
                                           QStringLiteral("PATH"), QStringLiteral(TAVOREN_PROGRAM));
    const QCommandLineOption droneOption(QStringLiteral("drone"), QStringLiteral("The drone program."),
                                         QStringLiteral("PATH"), QStringLiteral(TAVOREN_DRONE_PROGRAM));
    parser.addOptions({minutesOption, stepOption, programOption, droneOption});
    parser.process(app);
    const int minutes = std::max(1, parser.value(minutesOption).toInt());
    const int stepSeconds = std::max(1, parser.value(stepOption).toInt());
    QTextStream out(stdout);

    const int steps = minutes * 60 / stepSeconds + 30;
    BenchTimekeeper bench(parser.value(programOption),
                          SyntheticProtocol::json(steps, stepSeconds, true, SyntheticProtocol::everyView()));
    if (!bench.ready())
        return 1;
    QProcess timekeeper;
    QByteArray errors, output;
    if (!bench.start(timekeeper, errors)) {
        out << "no first frame: " << errors << "\n";
        return 1;
    }
    QProcess drone;
    drone.setStandardOutputFile(QProcess::nullDevice());
    drone.setStandardErrorFile(QProcess::nullDevice());
    if (!bench.startRunWithDrone(timekeeper, drone, parser.value(droneOption), output)) {
        out << "the run did not start: " << output.right(2000) << "\n";
        return 1;
    }
    out << "soak: " << minutes << " min, " << steps << " steps of " << stepSeconds
        << " s, timekeeper pid " << timekeeper.processId() << "\n";
    out.flush();

    QList<double> x, rss;
    const auto sample = [&](int minute) {
        const qint64 pid = timekeeper.processId();
        const double mib = ResidentMemory::currentKiB(pid) / 1024.0;
        const double droneMib = ResidentMemory::currentKiB(drone.processId()) / 1024.0;
        const qint64 files = openFiles(pid);
        const qint64 objects = liveObjects(timekeeper, output);
        output.clear();
        out << QStringLiteral("minute %1: timekeeper %2 MiB, drone %3 MiB, open fds %4, live QObjects %5\n")
                   .arg(minute, 3)
                   .arg(mib, 0, 'f', 1)
                   .arg(droneMib, 0, 'f', 1)
                   .arg(files)
                   .arg(objects);
        out.flush();
        if (minute >= 10 || minutes <= 10) {
            x.append(minute);
            rss.append(mib);
        }
        return std::pair{files, objects};
    };
    std::pair<qint64, qint64> atTen{0, 0}, last{0, 0};
    sample(0);
    for (int minute = 1; minute <= minutes && timekeeper.state() == QProcess::Running; ++minute) {
        const QDeadlineTimer deadline(std::chrono::minutes(1));
        while (!deadline.hasExpired() && timekeeper.state() == QProcess::Running) {
            timekeeper.waitForReadyRead(1000);
            timekeeper.readAllStandardOutput();
        }
        if (timekeeper.state() != QProcess::Running)
            break;
        last = sample(minute);
        if (minute == 10)
            atTen = last;
    }
    const bool survived = timekeeper.state() == QProcess::Running;
    timekeeper.write("quit\n");
    timekeeper.waitForFinished(5000);
    drone.kill();
    drone.waitForFinished(5000);
    if (!survived) {
        out << "the timekeeper ended before the time was up\n";
        return 1;
    }
    out << QStringLiteral("growth after minute %1: %2 MiB per hour (least squares over %3 minutes)\n")
               .arg(minutes > 10 ? 10 : 0)
               .arg(perHour(x, rss), 0, 'f', 2)
               .arg(x.size());
    if (minutes >= 10)
        out << QStringLiteral("open fds at minute 10 / end: %1 / %2; live QObjects: %3 / %4\n")
                   .arg(atTen.first)
                   .arg(last.first)
                   .arg(atTen.second)
                   .arg(last.second);
    out << QStringLiteral("at the end: open fds %1, live QObjects %2\n").arg(last.first).arg(last.second);
    return 0;
}
