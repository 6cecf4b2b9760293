// Lateness and drift of the application's one-second tick on the real
// monotonic clock, with the real run controller ticking a run of short
// timed steps (label lines synced to disk at every step end), beside the
// machine's own limit: a thread sleeping with clock_nanosleep to the same
// absolute deadlines in the same seconds.
//
//   bench_tick_drift [--ticks N] [--step-seconds S] [--qtimer]

#include "BenchSetting.h"
#include "ResidentMemory.h"
#include "SyntheticProtocol.h"
#include "TickComparison.h"

#include "bridge/BleBackend.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolReader.h"
#include "run/LogTime.h"
#include "run/QTimerTickTimer.h"
#include "run/QtSoundPlayer.h"
#include "run/TickTimer.h"
#include "run/VerkeersLeiding.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption ticksOption(QStringLiteral("ticks"), QStringLiteral("Ticks to measure."),
                                         QStringLiteral("N"), QStringLiteral("180"));
    const QCommandLineOption stepOption(QStringLiteral("step-seconds"), QStringLiteral("Length of each step."),
                                        QStringLiteral("S"), QStringLiteral("5"));
    const QCommandLineOption qtimerOption(QStringLiteral("qtimer"),
                                          QStringLiteral("Tick with the portable QTimer instead of this build's choice."));
    parser.addOptions({ticksOption, stepOption, qtimerOption});
    parser.process(app);
    const int ticks = std::max(2, parser.value(ticksOption).toInt());
    const int stepSeconds = std::max(1, parser.value(stepOption).toInt());

    const QTemporaryDir documents;
    useBenchSetting(documents);

    CurrentProtocol protocol;
    protocol.currentProtocol()->copyFrom(
        *ProtocolReader::decode(SyntheticProtocol::json(ticks / stepSeconds + 1, stepSeconds, true)).run);
    QtSoundPlayer sound;
    MultipeerSession session(QStringLiteral("bench"));
    VerkeersLeiding controller(session, protocol, sound);
    controller.setPPID(QStringLiteral("1"));
    controller.setRunTimestamp(LogTime::runTimestamp());
    controller.startRun();

    SteadyClock monotonic;
    const std::unique_ptr<TickTimer> timer = parser.isSet(qtimerOption)
        ? std::make_unique<QTimerTickTimer>(monotonic)
        : TickTimer::create(monotonic);
    std::unique_ptr<TickComparison> comparison;
    qint64 rssFirst = 0, rssLast = 0;
    const qint64 pid = ResidentMemory::ownPid();
    // Measured before the controller's work, as the tick arrives.
    QObject::connect(timer.get(), &TickTimer::tick, [&] {
        comparison->addTick(timer->schedule().lastDue(), monotonic.now());
        rssLast = ResidentMemory::currentKiB(pid);
        if (rssFirst == 0)
            rssFirst = rssLast;
        if (comparison->complete())
            QCoreApplication::quit();
    });
    QObject::connect(timer.get(), &TickTimer::tick, &controller, &VerkeersLeiding::tick);
    timer->start();
    comparison = std::make_unique<TickComparison>(timer->schedule().nextDue(), ticks);
    app.exec();

    QTextStream out(stdout);
    out << "ticks: " << ticks << " (" << controller.nr() << " steps ended, step length " << stepSeconds << " s; "
        << timer->metaObject()->className() << ")\n"
        << comparison->report()
        << "resident memory: " << rssFirst << " KiB at the first tick, " << rssLast << " KiB at the last, peak "
        << ResidentMemory::peakKiB(pid) << " KiB; label log " << controller.LabelLogString().size() << " characters\n";
    return 0;
}
