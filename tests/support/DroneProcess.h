#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A tavoren-drone process and the lines it prints: --headless, or with its
// window (drawn off screen in the tests).
class DroneProcess
{
public:
    enum class Screen { none, window };

    explicit DroneProcess(const QString &name, const QStringList &extra = {}, Screen screen = Screen::none);
    ~DroneProcess();

    bool waitForLine(const QString &line, int timeoutMs = 15000);
    QStringList lines() const { return m_lines; }
    quint16 port() const { return m_port; }
    void command(const QString &line);
    void kill();

private:
    void read();

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_partial;
    quint16 m_port = 0;
};
