// The drone link on loopback: the timekeeper's real MultipeerSession
// against a real `tavoren-drone --headless` process over TLS. Measures the
// time from sendState to the drone's acknowledgement, one state at a time,
// then sends at rising rates and counts what the drone did not get, or
// acknowledged too late (a resend after 0.7 s); last, how long a flood of
// malformed messages from the drone holds up the main loop. First, the time
// from an invitation to the link being open, both ends showing their
// certificates (paired ahead, in configuration folders of the run's own).
// With --web, then the same round trip and rates to the tablet's page in
// headless chromium, paired and linked through the timekeeper's web server.
//
//   bench_drone_link [--links N] [--states N] [--rates R1,R2,...] [--seconds S] [--drone PATH] [--web]

#include "BenchSetting.h"
#include "BenchTimekeeper.h"
#include "Samples.h"
#include "support/BrowserProcess.h"

#include "common/EventLoopWait.h"
#include "drone/MultipeerSession.h"
#include "web/WebDroneServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QJsonArray>
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

// What the far end got of the states first..last: those it never got, and those that came again.
struct Delivery
{
    qint64 missing = 0;
    int resends = 0;
};
using DeliveryCheck = std::function<Delivery(qint64 first, qint64 last)>;

// Sends states through the session and times each from sendState to its acknowledgement.
class AckClock
{
public:
    explicit AckClock(MultipeerSession &session) : m_session(session)
    {
        m_clock.start();
        QObject::connect(&session, &MultipeerSession::lastAckedSequenceChanged, &session, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            for (qint64 n = m_acked + 1; n <= m_session.lastAckedSequence(); ++n)
                if (m_samples && m_sentAt.contains(n))
                    m_samples->add(double(now - m_sentAt.take(n)) / 1000.0);
            m_acked = m_session.lastAckedSequence();
        });
    }
    void record(Samples *samples) { m_samples = samples; }
    void send(const QString &payload)
    {
        m_session.sendState(payload);
        m_sentAt.insert(m_session.stateSequence(), m_clock.nsecsElapsed());
    }
    qint64 last() const { return m_session.stateSequence(); }
    bool acked(qint64 sequence) const { return m_acked >= sequence; }

private:
    MultipeerSession &m_session;
    QElapsedTimer m_clock;
    QHash<qint64, qint64> m_sentAt;
    Samples *m_samples = nullptr;
    qint64 m_acked = 0;
};

// One state at a time, each waited for.
bool timeRoundTrip(AckClock &clock, int states, const QString &name, QTextStream &out)
{
    Samples samples;
    clock.record(&samples);
    for (int i = 0; i < states; ++i) {
        clock.send(QStringLiteral("timer: %1").arg(states - i));
        if (!EventLoopWait::until([&] { return clock.acked(clock.last()); }, 5000)) {
            out << "state " << clock.last() << " was not acknowledged within 5 s\n";
            return false;
        }
    }
    clock.record(nullptr);
    out << samples.summary(name) << "\n";
    return true;
}

// Each rate for some seconds; prints the highest the far end kept up with.
void timeRates(AckClock &clock, const QStringList &rates, int seconds, const QString &farEnd,
               const DeliveryCheck &delivered, QTextStream &out)
{
    int sustained = 0;
    for (const QString &rateText : rates) {
        const int rate = rateText.toInt();
        if (rate <= 0)
            continue;
        Samples rateLatency;
        clock.record(&rateLatency);
        const qint64 first = clock.last() + 1;
        QElapsedTimer phase;
        phase.start();
        qint64 sent = 0;
        const qint64 total = qint64(rate) * seconds;
        QTimer pacer;
        pacer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pacer, &QTimer::timeout, [&] {
            const qint64 due = std::min(total, phase.nsecsElapsed() * rate / 1000000000);
            for (; sent < due; ++sent)
                clock.send(QStringLiteral("text: state %1 of the rate %2").arg(sent).arg(rate));
        });
        pacer.start(5);
        EventLoopWait::until([&] { return sent >= total; }, (seconds + 30) * 1000);
        pacer.stop();
        const double sendingSeconds = double(phase.nsecsElapsed()) / 1e9;
        const qint64 last = clock.last();
        EventLoopWait::until([&] { return clock.acked(last); }, 5000);
        // Resends of late states arrive 0.7 s after their first sending.
        EventLoopWait::until([] { return false; }, 800);
        clock.record(nullptr);
        const Delivery delivery = delivered(first, last);
        out << "rate " << rate << "/s: sent " << sent << " in " << QString::number(sendingSeconds, 'f', 2) << " s ("
            << QString::number(double(sent) / sendingSeconds, 'f', 0) << "/s), missing at " << farEnd << " "
            << delivery.missing << ", resent " << delivery.resends << ", " << rateLatency.summary(QStringLiteral("ack"))
            << "\n";
        if (delivery.missing == 0 && delivery.resends == 0 && double(sent) / sendingSeconds >= 0.95 * rate)
            sustained = std::max(sustained, rate);
    }
    out << "sustained by " << farEnd << " without loss or resend: " << sustained << " states/s\n";
}

// The page in headless chromium, paired as an operator pairs a tablet: opened
// at the pairing address, its code confirmed on the timekeeper's side.
bool linkPage(WebDroneServer &web, BrowserProcess &browser, QTextStream &out)
{
    web.setEnabled(true);
    if (!web.enabled()) {
        out << "the web server did not start: " << web.problem() << "\n";
        return false;
    }
    browser.ask(QStringLiteral("open %1 1024 768").arg(web.pairingAddress()));
    if (!EventLoopWait::until([&] { return !web.pairingCode().isEmpty(); }, 15000)) {
        out << "the page did not ask to pair\n";
        return false;
    }
    web.confirmPairing();
    if (!EventLoopWait::until([&] { return !web.connectedPeers().isEmpty(); }, 15000)) {
        out << "the page did not link\n";
        return false;
    }
    return true;
}

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
    const QCommandLineOption webOption(QStringLiteral("web"), QStringLiteral("Then the same to the tablet's page in headless chromium."));
    parser.addOptions({linksOption, statesOption, ratesOption, secondsOption, droneOption, webOption});
    parser.process(app);
    QTextStream out(stdout);

    // Both ends on loopback; the session's log in a documents folder of the run's own.
    QTemporaryDir documents;
    useBenchSetting(documents);
    // Both identities and paired lists in folders of this run, paired ahead.
    QTemporaryDir benchHome;
    QTemporaryDir droneHome;
    qputenv("XDG_CONFIG_HOME", benchHome.path().toUtf8());
    BenchTimekeeper::pairAhead(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                               QDir(droneHome.path()).filePath(QStringLiteral("tavoren-drone")));

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
    AckClock clock(session);
    QElapsedTimer linkClock;
    linkClock.start();

    session.setAutoInvite(false);
    Samples linking;
    const QString address = QStringLiteral("127.0.0.1:%1").arg(drone.port);
    const int links = std::max(1, parser.value(linksOption).toInt());
    for (int i = 0; i < links; ++i) {
        const qint64 invited = linkClock.nsecsElapsed();
        session.inviteAddress(address);
        if (!EventLoopWait::until([&] { return session.isConnected(); }, 10000)) {
            out << "no link to the drone\n";
            return 1;
        }
        linking.add(double(linkClock.nsecsElapsed() - invited) / 1000.0);
        if (i + 1 == links)
            break;
        EventLoopWait::until([&] { return !session.connectedPeers().isEmpty(); }, 1000);
        session.cancelAllConnections();
        EventLoopWait::until([&] { return !session.isConnected() && !drone.linked; }, 5000);
    }
    out << linking.summary(QStringLiteral("invitation to linked, certificates on both sides")) << "\n";

    const int states = std::max(1, parser.value(statesOption).toInt());
    if (!timeRoundTrip(clock, states, QStringLiteral("state to acknowledgement"), out))
        return 1;
    const int seconds = std::max(1, parser.value(secondsOption).toInt());
    const QStringList rates = parser.value(ratesOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
    int resendsSeen = 0;
    timeRates(clock, rates, seconds, QStringLiteral("the drone"), [&](qint64 first, qint64 last) {
        Delivery delivery;
        for (qint64 n = first; n <= last; ++n)
            delivery.missing += drone.received.contains(n) ? 0 : 1;
        delivery.resends = drone.resends - resendsSeen;
        resendsSeen = drone.resends;
        return delivery;
    }, out);

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
    watch.stop();
    out << "longest main-loop gap during a flood from the drone: " << longestGapMs << " ms\n";
    process.write("quit\n");
    process.waitForFinished(5000);
    if (!parser.isSet(webOption))
        return 0;

    // The same to the page, once the drone program has gone: one drone at a time.
    session.cancelAllConnections();
    EventLoopWait::until([&] { return session.linkedPeers().isEmpty(); }, 5000);
    if (!BrowserProcess::available()) {
        out << "no chromium or no tools/webdrone-test/node_modules (scripts/install-deps.sh)\n";
        return 1;
    }
    WebDroneServer web(&session, {QHostAddress(QHostAddress::LocalHost), 0, {}, {}});
    BrowserProcess browser;
    if (!linkPage(web, browser, out))
        return 1;
    if (!timeRoundTrip(clock, states, QStringLiteral("state to the page's acknowledgement, headless chromium"), out))
        return 1;
    timeRates(clock, rates, seconds, QStringLiteral("the page"), [&](qint64 first, qint64 last) {
        // The sequence numbers the page took in since the last look.
        const QJsonArray got = browser.eval(QStringLiteral("window.tavoren.received.splice(0).map(r => parseInt(r))")).toArray();
        QSet<qint64> seen;
        Delivery delivery;
        for (const QJsonValue &sequence : got) {
            const qint64 n = sequence.toInteger();
            delivery.resends += seen.contains(n) ? 1 : 0;
            seen.insert(n);
        }
        for (qint64 n = first; n <= last; ++n)
            delivery.missing += seen.contains(n) ? 0 : 1;
        return delivery;
    }, out);
    return 0;
}
