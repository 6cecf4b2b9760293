#include "support/DroneProcess.h"

#include <QTest>

#include <algorithm>

DroneProcess::DroneProcess(const QString &name, const QStringList &extra, Screen screen)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(TAVOREN_BINARY_DIR "/apps/tavoren-drone/tavoren-drone"),
                    QStringList{screen == Screen::none ? "--headless" : "--windowed", "--name", name} + extra);
    m_process.waitForStarted(10000);
    waitForLine(QStringLiteral("listening on port"));
}

DroneProcess::~DroneProcess()
{
    kill();
}

void DroneProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

void DroneProcess::read()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_partial.left(end));
        m_partial.remove(0, end + 1);
        if (line.startsWith(QLatin1String("listening on port ")))
            m_port = quint16(line.mid(18).toUInt());
        m_lines.append(line);
    }
}

bool DroneProcess::waitForLine(const QString &line, int timeoutMs)
{
    return QTest::qWaitFor([&] { return std::any_of(m_lines.cbegin(), m_lines.cend(), [&](const QString &l) { return l.startsWith(line); }); },
                           timeoutMs);
}

void DroneProcess::command(const QString &line)
{
    m_process.write((line + QLatin1Char('\n')).toUtf8());
}
