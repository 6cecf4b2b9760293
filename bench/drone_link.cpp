// The drone link on loopback: the timekeeper's real MultipeerSession
// against a real `tavoren-drone --headless` process over TLS. Measures the
// time from sendState to the drone's acknowledgement, one state at a time,
// then sends at rising rates and counts what the drone did not get, or
// acknowledged too late (a resend after 0.7 s); last, how long a flood of
// malformed messages from the drone holds up the main loop. First, the time
// from an invitation to the link being open, both ends showing their
// certificates (paired ahead, in configuration folders of the run's own).
//
//   bench_drone_link [--links N] [--states N] [--rates R1,R2,...] [--seconds S] [--drone PATH]

#include "Samples.h"

#include "common/Console.h"
#include "common/EventLoopWait.h"
#include "drone/DeviceIdentity.h"
#include "drone/MultipeerSession.h"
#include "drone/PairedDevices.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTextStream>
#include <QTimer>

namespace {

// The drone's standard output, line by line.
struct DroneOutput
{
    QByteArray partial;
    quint16 port = 0;
    QSet<qint64> received;
    int resends = 0;
    bool linked = false;

    void read(QProcess &process)
    {
        partial += process.readAllStandardOutput();
        qsizetype end;
        while ((end = partial.indexOf('\n')) >= 0) {
            const QByteArray line = partial.left(end);
            partial.remove(0, end + 1);
            if (line == "connected" || line == "not connected")
                linked = line == "connected";
            else if (line.startsWith("listening on port "))
                port = quint16(line.mid(18).toUInt());
            else if (line.startsWith("state ")) {
                const QByteArray number = line.mid(6, line.indexOf(':') - 6);
                if (number.endsWith(" again"))
                    ++resends;
                else
                    received.insert(number.toLongLong());
            }
        }
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption statesOption(QStringLiteral("states"), QStringLiteral("States for the round trip."),
                                          QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption ratesOption(QStringLiteral("rates"), QStringLiteral("States per second to try."),
                                         QStringLiteral("LIST"), QStringLiteral("100,500,1000,2000,5000,10000"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Length of each rate."),
                                           QStringLiteral("S"), QStringLiteral("3"));
    const QCommandLineOption droneOption(QStringLiteral("drone"), QStringLiteral("The drone program."),
                                         QStringLiteral("PATH"), QStringLiteral(TAVOREN_DRONE_PROGRAM));
    const QCommandLineOption linksOption(QStringLiteral("links"), QStringLiteral("Invitations to time."),
                                         QStringLiteral("N"), QStringLiteral("200"));
    parser.addOptions({linksOption, statesOption, ratesOption, secondsOption, droneOption});
    parser.process(app);
    QTextStream out(stdout);

    // Both ends stay on loopback, on a discovery port of their own.
    const QByteArray discoveryPort = QByteArray::number(40000 + QCoreApplication::applicationPid() % 10000);
    qputenv("TAVOREN_DISCOVERY", "loopback");
    qputenv("TAVOREN_DISCOVERY_PORT", discoveryPort);
    Console::useStandardError();
    // Both identities and paired lists in folders of this run, paired ahead.
    QTemporaryDir benchHome;
    QTemporaryDir droneHome;
    qputenv("XDG_CONFIG_HOME", benchHome.path().toUtf8());
    const QString droneFolder = QDir(droneHome.path()).filePath(QStringLiteral("tavoren-drone"));
    PairedDevices(PairedDevices::inConfigFolder(PairedDevices::dronesFile))
        .add(DeviceIdentity(droneFolder).fingerprint(), QStringLiteral("bench-drone"));
    PairedDevices(QDir(droneFolder).filePath(QString::fromLatin1(PairedDevices::timekeepersFile)))
        .add(DeviceIdentity::shared().fingerprint(), QStringLiteral("bench-timekeeper"));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), droneHome.path());
    process.setProcessEnvironment(environment);
    DroneOutput drone;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] { drone.read(process); });
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(parser.value(droneOption), {QStringLiteral("--headless"), QStringLiteral("--name"), QStringLiteral("bench-drone")});
    if (!EventLoopWait::until([&] { return drone.port != 0; }, 10000)) {
        out << "the drone did not start: " << process.errorString() << "\n";
        return 1;
    }

    MultipeerSession session(QStringLiteral("bench-timekeeper"));
    QHash<qint64, qint64> sentAt;
    Samples *latencies = nullptr;
    qint64 acked = 0;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&session, &MultipeerSession::lastAckedSequenceChanged, [&] {
        const qint64 now = clock.nsecsElapsed();
        for (qint64 n = acked + 1; n <= session.lastAckedSequence(); ++n) {
            if (latencies && sentAt.contains(n))
                latencies->add(double(now - sentAt.take(n)) / 1000.0);
        }
        acked = session.lastAckedSequence();
    });
    const auto send = [&](const QString &payload) {
        session.sendState(payload);
        sentAt.insert(session.stateSequence(), clock.nsecsElapsed());
    };

    session.setAutoInvite(false);
    Samples linking;
    const QString address = QStringLiteral("127.0.0.1:%1").arg(drone.port);
    const int links = std::max(1, parser.value(linksOption).toInt());
    for (int i = 0; i < links; ++i) {
        const qint64 invited = clock.nsecsElapsed();
        session.inviteAddress(address);
        if (!EventLoopWait::until([&] { return session.isConnected(); }, 10000)) {
            out << "no link to the drone\n";
            return 1;
        }
        linking.add(double(clock.nsecsElapsed() - invited) / 1000.0);
        if (i + 1 == links)
            break;
        EventLoopWait::until([&] { return !session.connectedPeers().isEmpty(); }, 1000);
        session.cancelAllConnections();
        EventLoopWait::until([&] { return !session.isConnected() && !drone.linked; }, 5000);
    }
    out << linking.summary(QStringLiteral("invitation to linked, certificates on both sides")) << "\n";

    Samples roundTrip;
    latencies = &roundTrip;
    const int states = std::max(1, parser.value(statesOption).toInt());
    for (int i = 0; i < states; ++i) {
        send(QStringLiteral("timer: %1").arg(states - i));
        if (!EventLoopWait::until([&] { return acked >= session.stateSequence(); }, 5000)) {
            out << "state " << session.stateSequence() << " was not acknowledged within 5 s\n";
            return 1;
        }
    }
    out << roundTrip.summary(QStringLiteral("state to acknowledgement")) << "\n";

    const int seconds = std::max(1, parser.value(secondsOption).toInt());
    int sustained = 0;
    for (const QString &rateText : parser.value(ratesOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int rate = rateText.toInt();
        if (rate <= 0)
            continue;
        Samples rateLatency;
        latencies = &rateLatency;
        const qint64 first = session.stateSequence() + 1;
        const int resendsBefore = drone.resends;
        QElapsedTimer phase;
        phase.start();
        qint64 sent = 0;
        const qint64 total = qint64(rate) * seconds;
        QTimer pacer;
        pacer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pacer, &QTimer::timeout, [&] {
            const qint64 due = std::min(total, phase.nsecsElapsed() * rate / 1000000000);
            for (; sent < due; ++sent)
                send(QStringLiteral("text: state %1 of the rate %2").arg(sent).arg(rate));
        });
        pacer.start(5);
        EventLoopWait::until([&] { return sent >= total; }, (seconds + 30) * 1000);
        pacer.stop();
        const double sendingSeconds = double(phase.nsecsElapsed()) / 1e9;
        const qint64 last = session.stateSequence();
        EventLoopWait::until([&] { return acked >= last && drone.received.contains(last); }, 5000);
        // Resends of late states arrive 0.7 s after their first sending.
        EventLoopWait::until([] { return false; }, 800);
        qint64 missing = 0;
        for (qint64 n = first; n <= last; ++n)
            missing += drone.received.contains(n) ? 0 : 1;
        const int resends = drone.resends - resendsBefore;
        out << "rate " << rate << "/s: sent " << sent << " in " << QString::number(sendingSeconds, 'f', 2) << " s ("
            << QString::number(double(sent) / sendingSeconds, 'f', 0) << "/s), missing at the drone " << missing
            << ", resent " << resends << ", " << rateLatency.summary(QStringLiteral("ack")) << "\n";
        if (missing == 0 && resends == 0 && double(sent) / sendingSeconds >= 0.95 * rate)
            sustained = std::max(sustained, rate);
    }
    latencies = nullptr;
    out << "sustained without loss or resend: " << sustained << " states/s\n";

    // A flood from the drone: thousands of malformed messages and a few
    // large ones; the longest the main loop went without serving a 20 ms timer.
    QElapsedTimer since;
    qint64 longestGapMs = 0;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] { longestGapMs = std::max(longestGapMs, since.restart()); });
    QByteArray flood;
    for (int i = 0; i < 4000; ++i)
        flood += i % 2 ? "raw @Ack: not a number\n" : "raw @Slider value is: x@@\n";
    for (const int size : {1000 * 1000, 200 * 1000, 200 * 1000})
        flood += "raw " + QByteArray(size, 'a') + '\n';
    flood += "raw end of the flood\n";
    since.start();
    watch.start(20);
    process.write(flood);
    EventLoopWait::until([&] { return session.receivedMessage() == QLatin1String("end of the flood"); }, 60000);
    out << "longest main-loop gap during a flood from the drone: " << longestGapMs << " ms\n";
    process.write("quit\n");
    process.waitForFinished(5000);
    return 0;
}
