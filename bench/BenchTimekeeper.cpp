#include "BenchTimekeeper.h"

#include "drone/DeviceIdentity.h"
#include "drone/PairedDevices.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

BenchTimekeeper::BenchTimekeeper(const QString &program, const QByteArray &protocol)
    : m_program(program), m_environment(QProcessEnvironment::systemEnvironment())
{
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_environment.insert(QStringLiteral("TAVOREN_REPORT_FIRST_FRAME"), QStringLiteral("1"));
    m_environment.insert(QStringLiteral("TAVOREN_DISCOVERY"), QStringLiteral("loopback"));
    m_environment.insert(QStringLiteral("TAVOREN_DISCOVERY_PORT"),
                         QString::number(40000 + QCoreApplication::applicationPid() % 10000));
    m_environment.insert(QStringLiteral("HOME"), m_home.path());
    const QString config = m_home.filePath(QStringLiteral(".config"));
    m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    pairAhead(config + QStringLiteral("/tavoren"), config + QStringLiteral("/tavoren-drone"));

    const QString documents = m_home.filePath(QStringLiteral("Documents"));
    QDir().mkpath(documents + QStringLiteral("/Research_protocols"));
    QFile file(documents + QStringLiteral("/Research_protocols/bench.json"));
    m_ready = file.open(QIODevice::WriteOnly) && file.write(protocol) == protocol.size();
    m_arguments = {QStringLiteral("--headless"), QStringLiteral("--documents"), documents,
                   QStringLiteral("--manifest"), QStringLiteral("http://127.0.0.1:1/manifest.plist")};
}

bool BenchTimekeeper::start(QProcess &timekeeper, QByteArray &errors) const
{
    timekeeper.setProcessEnvironment(m_environment);
    timekeeper.start(m_program, m_arguments);
    return waitForOutput(timekeeper, QProcess::StandardError, errors, "first frame\n", 60000);
}

bool BenchTimekeeper::startRunWithDrone(QProcess &timekeeper, QProcess &drone, const QString &droneProgram,
                                        QByteArray &output) const
{
    drone.setProcessEnvironment(m_environment);
    drone.start(droneProgram, {QStringLiteral("--headless"), QStringLiteral("--name"), QStringLiteral("Bench drone"),
                               QStringLiteral("--invite")});
    timekeeper.write("click runRow bench.json\n");
    bool connected = false;
    for (int attempt = 0; attempt < 100 && !connected; ++attempt) {
        timekeeper.write("text droneInfo\n");
        connected = waitForOutput(timekeeper, QProcess::StandardOutput, output,
                                  "= text droneInfo: Drone device name: Bench drone", 200);
    }
    timekeeper.write("type ppidField 1\nclick startButton\n");
    return connected && waitForOutput(timekeeper, QProcess::StandardOutput, output, "= clicked startButton", 10000);
}

bool BenchTimekeeper::waitForOutput(QProcess &process, QProcess::ProcessChannel channel, QByteArray &output,
                                    const QByteArray &wanted, int timeoutMs)
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

void BenchTimekeeper::pairAhead(const QString &timekeeperFolder, const QString &droneFolder)
{
    PairedDevices(QDir(timekeeperFolder).filePath(QString::fromLatin1(PairedDevices::dronesFile)))
        .add(DeviceIdentity(droneFolder).fingerprint(), QStringLiteral("Bench drone"));
    PairedDevices(QDir(droneFolder).filePath(QString::fromLatin1(PairedDevices::timekeepersFile)))
        .add(DeviceIdentity(timekeeperFolder).fingerprint(), QStringLiteral("bench timekeeper"));
}
