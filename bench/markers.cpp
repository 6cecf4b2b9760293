// Latency of the markers on a trigger box: from each tick's due time to the
// code's byte read at the far end of a pseudo-terminal pair (made by socat),
// with the real run controller ending a one-second step at every tick,
// beside the tick's own lateness and a thread sleeping with clock_nanosleep
// to the same deadlines in the same seconds. The time from the due time to
// the boundary handed over (the byte written) is given apart, so that what
// the relay through socat and the reading thread add can be told.
//
//   bench_markers [--boundaries N]

#include "BenchSetting.h"
#include "Samples.h"
#include "SyntheticProtocol.h"
#include "TickComparison.h"

#include "bridge/BleBackend.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "drone/MultipeerSession.h"
#include "markers/MarkerOutput.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolReader.h"
#include "run/LogTime.h"
#include "run/QtSoundPlayer.h"
#include "run/TickTimer.h"
#include "run/VerkeersLeiding.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <atomic>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

std::chrono::nanoseconds monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption countOption(QStringLiteral("boundaries"), QStringLiteral("Step boundaries to measure."),
                                         QStringLiteral("N"), QStringLiteral("130"));
    parser.addOption(countOption);
    parser.process(app);
    // The codes are the steps' numeric ids, which a box carries up to 255.
    const int boundaries = std::clamp(parser.value(countOption).toInt(), 2, 250);

    const QTemporaryDir documents;
    useBenchSetting(documents);

    QProcess socat;
    const QString device = documents.filePath(QStringLiteral("A")), far = documents.filePath(QStringLiteral("B"));
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + device,
                                          QStringLiteral("pty,raw,echo=0,link=") + far});
    for (int i = 0; i < 500 && !(QFileInfo::exists(device) && QFileInfo::exists(far)); ++i)
        QThread::msleep(10);
    const int reader = ::open(QFile::encodeName(far).constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (reader < 0) {
        std::fputs("bench_markers: socat's pseudo-terminal pair did not come up\n", stderr);
        return 1;
    }
    // The far end: each code byte with the time it was read.
    std::mutex readLock;
    std::vector<std::pair<unsigned char, std::chrono::nanoseconds>> received;
    std::atomic<bool> reading{true};
    std::thread farEnd([&] {
        while (reading) {
            pollfd wanted{reader, POLLIN, 0};
            if (::poll(&wanted, 1, 100) <= 0)
                continue;
            unsigned char bytes[64];
            const ssize_t got = ::read(reader, bytes, sizeof bytes);
            const auto at = monotonicNow();
            const std::lock_guard lock(readLock);
            for (ssize_t i = 0; i < got; ++i) {
                if (bytes[i] != 0)
                    received.emplace_back(bytes[i], at);
            }
        }
    });

    CurrentProtocol protocol;
    protocol.currentProtocol()->copyFrom(*ProtocolReader::decode(SyntheticProtocol::json(boundaries + 1, 1, true)).run);
    QtSoundPlayer sound;
    MultipeerSession session(QStringLiteral("bench"));
    VerkeersLeiding controller(session, protocol, sound);
    MarkerOutput markers;
    markers.follow(controller);
    markers.apply(MarkerSettings{device, 115200, 10, false, 0});
    while (markers.state() == MarkerOutput::State::Opening)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (markers.state() != MarkerOutput::State::Ready) {
        std::fprintf(stderr, "bench_markers: %s\n", markers.statusText().toUtf8().constData());
        return 1;
    }

    SteadyClock monotonic;
    const std::unique_ptr<TickTimer> timer = TickTimer::create(monotonic);
    std::unique_ptr<TickComparison> comparison;
    // The due time of the tick at which each step began, by its code.
    std::vector<std::chrono::nanoseconds> dueOfCode(256, std::chrono::nanoseconds(-1));
    Samples tick;
    Samples written;
    QObject::connect(timer.get(), &TickTimer::tick, [&] {
        const auto arrival = monotonic.now();
        comparison->addTick(timer->schedule().lastDue(), arrival);
        tick.add(double((arrival - timer->schedule().lastDue()).count()) / 1000.0);
    });
    QObject::connect(timer.get(), &TickTimer::tick, &controller, &VerkeersLeiding::tick);
    // After the marker output's own handling of the boundary: its byte is written by then.
    QObject::connect(&controller, &VerkeersLeiding::boundary, [&](VerkeersLeiding::Boundary, int stepIndex) {
        if (controller.running() && stepIndex < 256) {
            dueOfCode[std::size_t(stepIndex + 1)] = timer->schedule().lastDue();
            if (stepIndex > 0)
                written.add(double((monotonic.now() - timer->schedule().lastDue()).count()) / 1000.0);
        }
        if (comparison && comparison->complete())
            QCoreApplication::quit();
    });
    timer->start();
    comparison = std::make_unique<TickComparison>(timer->schedule().nextDue(), boundaries);
    controller.setPPID(QStringLiteral("1"));
    controller.setRunTimestamp(LogTime::runTimestamp());
    controller.startRun();
    app.exec();
    // The last pulses reach the far end.
    QThread::msleep(200);
    reading = false;
    farEnd.join();
    socat.kill();
    socat.waitForFinished();

    Samples marker;
    {
        const std::lock_guard lock(readLock);
        for (const auto &[code, at] : received) {
            // The first step began at the run's start, not at a tick.
            if (code > 1 && dueOfCode[code].count() >= 0)
                marker.add(double((at - dueOfCode[code]).count()) / 1000.0);
        }
    }
    QTextStream out(stdout);
    const QString tickReport = comparison->report();
    out << "boundaries: " << marker.count() << " codes read at the far end of the pseudo-terminal pair ("
        << timer->metaObject()->className() << ", pulse 10 ms)\n"
        << marker.summary(QStringLiteral("marker, tick due time to byte read")) << "\n"
        << written.summary(QStringLiteral("marker, tick due time to byte written")) << "\n"
        << tickReport
        << "goal marker p99 <= tick p99 + 1 ms (" << QString::number(tick.percentile(0.99) / 1000.0 + 1.0, 'f', 3)
        << " ms): " << (marker.percentile(0.99) <= tick.percentile(0.99) + 1000.0 ? "met" : "NOT met") << "\n";
    return 0;
}
