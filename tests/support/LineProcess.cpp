#include "support/LineProcess.h"

#include <QDir>
#include <QTest>

LineProcess::~LineProcess()
{
    kill();
}

void LineProcess::start(const QString &program, const QStringList &args, const QProcessEnvironment &environment)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setProcessEnvironment(environment);
    m_process.start(QDir(QStringLiteral(TAVOREN_BINARY_DIR)).filePath(program), args);
    m_process.waitForStarted(10000);
}

void LineProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

void LineProcess::terminate()
{
    m_process.terminate();
}

int LineProcess::waitForExit(int timeoutMs)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void LineProcess::read()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        m_lines.append(QString::fromUtf8(m_partial.left(end)));
        m_partial.remove(0, end + 1);
    }
}

std::optional<QString> LineProcess::lineAfter(qsizetype from, const QString &prefix, int timeoutMs)
{
    std::optional<QString> found;
    const bool seen = QTest::qWaitFor(
        [&] {
            for (qsizetype i = from; i < m_lines.size() && !found; ++i)
                if (m_lines.at(i).startsWith(prefix))
                    found = m_lines.at(i);
            return found.has_value();
        },
        timeoutMs);
    return seen ? found : std::nullopt;
}

bool LineProcess::waitForLine(const QString &prefix, int timeoutMs)
{
    return lineAfter(0, prefix, timeoutMs).has_value();
}

void LineProcess::command(const QString &line)
{
    m_process.write((line + QLatin1Char('\n')).toUtf8());
}

QString LineProcess::ask(const QString &command, int timeoutMs)
{
    const qsizetype from = m_lines.size();
    LineProcess::command(command);
    return lineAfter(from, QStringLiteral("= "), timeoutMs).value_or(QStringLiteral("= (no answer)")).mid(2);
}
