// Start of the timekeeper application to its first frame, measured from
// outside: `tavoren` runs under the offscreen platform with
// TAVOREN_REPORT_FIRST_FRAME set, which makes it say "first frame" on
// standard error once its window has shown its first frame. After the last
// start the program's resident memory is followed for a while.
//
//   bench_app_start [--runs R] [--watch S] [--program PATH]

#include "ResidentMemory.h"
#include "Samples.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

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
    parser.addOptions({runsOption, watchOption, programOption});
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

    Samples starts;
    const int runs = std::max(1, parser.value(runsOption).toInt());
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(parser.value(programOption), {});
        QByteArray errors;
        bool shown = false;
        const QDeadlineTimer deadline(60000);
        while (!shown && !deadline.hasExpired() && process.state() != QProcess::NotRunning) {
            process.waitForReadyRead(100);
            errors += process.readAllStandardError();
            shown = errors.contains("first frame\n");
        }
        if (!shown) {
            out << "no first frame: " << errors << "\n";
            return 1;
        }
        starts.add(double(timer.nsecsElapsed()) / 1000.0);
        if (run == runs - 1) {
            const qint64 pid = process.processId();
            const qint64 atFirstFrame = ResidentMemory::currentKiB(pid);
            qint64 largest = atFirstFrame;
            for (int second = 0; second < parser.value(watchOption).toInt(); ++second) {
                QThread::sleep(1);
                largest = std::max(largest, ResidentMemory::currentKiB(pid));
            }
            out << "resident memory of tavoren: " << atFirstFrame << " KiB at the first frame, "
                << ResidentMemory::currentKiB(pid) << " KiB after " << parser.value(watchOption)
                << " s on the start screen (largest sample " << largest << " KiB, peak "
                << ResidentMemory::peakKiB(pid) << " KiB)\n";
        }
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
    out << starts.summary(QStringLiteral("start to first frame")) << "\n";
    return 0;
}
