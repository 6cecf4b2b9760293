#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// The timekeeper application as the benchmarks run it: `tavoren --headless`
// under the offscreen platform, with TAVOREN_REPORT_FIRST_FRAME set, in a
// home folder of its own whose documents hold one protocol, "bench.json";
// discovery on loopback on a port of its own; its drone paired ahead. Touches go in on its standard
// input, one per line, each answered on its standard output.
class BenchTimekeeper
{
public:
    BenchTimekeeper(const QString &program, const QByteArray &protocol);

    bool ready() const { return m_ready; }
    QProcessEnvironment &environment() { return m_environment; }

    // Starts it and waits until it has shown its first frame; what it
    // printed on standard error meanwhile is added to errors.
    bool start(QProcess &timekeeper, QByteArray &errors) const;
    // Starts the drone program headless and inviting, picks "bench.json",
    // waits for the drone and starts the run as participant 1. What the
    // timekeeper printed meanwhile is added to output.
    bool startRunWithDrone(QProcess &timekeeper, QProcess &drone, const QString &droneProgram,
                           QByteArray &output) const;

    // Reads what the process prints on one channel until the wanted text
    // has come or the time is up; an empty text waits the whole time. The
    // wait wakes as soon as that channel has data.
    static bool waitForOutput(QProcess &process, QProcess::ProcessChannel channel, QByteArray &output,
                              const QByteArray &wanted, int timeoutMs);
    // Each folder's identity (made when missing) in the other's paired list,
    // as a finished pairing leaves them.
    static void pairAhead(const QString &timekeeperFolder, const QString &droneFolder);

private:
    QString m_program;
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QStringList m_arguments;
    bool m_ready = false;
};
