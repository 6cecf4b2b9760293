#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// One of the project's programs, started in the background, and the lines
// it prints on standard output (its errors go to the test's own); lines to
// its standard input steer it.
class LineProcess
{
public:
    virtual ~LineProcess(); // not copied: it owns its process

    // program is relative to the build tree, or absolute.
    void start(const QString &program, const QStringList &args,
               const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    bool waitForLine(const QString &prefix, int timeoutMs = 15000);
    // The first line from index `from` on that starts with prefix.
    std::optional<QString> lineAfter(qsizetype from, const QString &prefix, int timeoutMs = 15000);
    QStringList lines() const { return m_lines; }
    qint64 processId() const { return m_process.processId(); }
    void command(const QString &line);
    // The next line after the command that starts with "= ", without that.
    QString ask(const QString &command, int timeoutMs = 15000);
    void kill();
    // Sends SIGTERM.
    void terminate();
    // Waits for the program to end: its exit status, or -1 when it did not end by itself.
    int waitForExit(int timeoutMs = 15000);

private:
    void read();

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_partial;
};
