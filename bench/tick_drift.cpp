// Lateness and drift of the application's one-second tick on the real
// monotonic clock, with the real run controller ticking a run of short
// timed steps (label lines synced to disk at every step end).
//
//   bench_tick_drift [--ticks N] [--step-seconds S]

#include "ResidentMemory.h"
#include "Samples.h"
#include "SyntheticProtocol.h"

#include "bridge/BleBackend.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolReader.h"
#include "run/LogTime.h"
#include "run/QtSoundPlayer.h"
#include "run/TickTimer.h"
#include "run/VerkeersLeiding.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <chrono>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ticksOption(QStringLiteral("ticks"), QStringLiteral("Ticks to measure."),
                                         QStringLiteral("N"), QStringLiteral("180"));
    const QCommandLineOption stepOption(QStringLiteral("step-seconds"), QStringLiteral("Length of each step."),
                                        QStringLiteral("S"), QStringLiteral("5"));
    parser.addOptions({ticksOption, stepOption});
    parser.process(app);
    const int ticks = std::max(2, parser.value(ticksOption).toInt());
    const int stepSeconds = std::max(1, parser.value(stepOption).toInt());

    Console::useStandardError();
    qputenv("TAVOREN_DISCOVERY", "loopback");
    QTemporaryDir documents;
    DocumentsFolder::setOverride(documents.path());
    BleBackend::setUseSimulator(true);

    CurrentProtocol protocol;
    protocol.currentProtocol()->copyFrom(
        *ProtocolReader::decode(SyntheticProtocol::json(ticks / stepSeconds + 1, stepSeconds, true)).run);
    QtSoundPlayer sound;
    MultipeerSession session(QStringLiteral("bench"));
    VerkeersLeiding controller(session, protocol, sound);
    controller.setPPID(QStringLiteral("1"));
    controller.setRunTimestamp(LogTime::runTimestamp());
    controller.startRun();

    using Steady = std::chrono::steady_clock;
    SteadyClock monotonic;
    TickTimer timer(monotonic);
    Samples lateness;
    std::vector<Steady::time_point> arrivals;
    qint64 rssFirst = 0, rssLast = 0;
    const qint64 pid = ResidentMemory::ownPid();
    Steady::time_point start;
    // Measured before the controller's work, as the tick arrives.
    QObject::connect(&timer, &TickTimer::tick, [&] {
        const Steady::time_point now = Steady::now();
        arrivals.push_back(now);
        const auto due = start + std::chrono::seconds(arrivals.size());
        lateness.add(std::chrono::duration<double, std::micro>(now - due).count());
        rssLast = ResidentMemory::currentKiB(pid);
        if (arrivals.size() == 1)
            rssFirst = rssLast;
        if (int(arrivals.size()) == ticks)
            QCoreApplication::quit();
    });
    QObject::connect(&timer, &TickTimer::tick, &controller, &VerkeersLeiding::tick);
    start = Steady::now();
    timer.start();
    app.exec();

    const auto micro = [](Steady::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    const double spanDrift = micro(arrivals.back() - arrivals.front()) - double(ticks - 1) * 1e6;
    QTextStream out(stdout);
    out << "ticks: " << ticks << " (" << controller.nr() << " steps ended, step length " << stepSeconds << " s)\n"
        << lateness.summary(QStringLiteral("tick lateness")) << "\n"
        << "drift after " << ticks << " ticks: last tick " << QString::number(micro(arrivals.back() - start) - ticks * 1e6, 'f', 0)
        << " us after its due time; first-to-last span off by " << QString::number(spanDrift, 'f', 0) << " us\n"
        << "resident memory: " << rssFirst << " KiB at the first tick, " << rssLast << " KiB at the last, peak "
        << ResidentMemory::peakKiB(pid) << " KiB; label log " << controller.LabelLogString().size() << " characters\n";
    return 0;
}
