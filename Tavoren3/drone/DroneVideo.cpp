#include "drone/DroneVideo.h"

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/MediaName.h"

#include <QDir>
#include <QFile>

DroneVideo::DroneVideo(QObject *parent) : QObject(parent) {}

QUrl DroneVideo::locate(const QString &link)
{
    const QString name = link.trimmed();
    if (!MediaName::isPlainName(name))
        return QUrl();
    if (const auto documents = DocumentsFolder::path()) {
        const QString file = QDir(*documents).filePath(name);
        if (QFile::exists(file))
            return QUrl::fromLocalFile(file);
    }
    if (QFile::exists(QStringLiteral(":/") + name))
        return QUrl(QStringLiteral("qrc:/") + name);
    return QUrl();
}

void DroneVideo::load(const QString &link, bool hideControls, bool autoStart, bool continueAfter)
{
    m_source = locate(link);
    m_problem = m_source.isEmpty() ? QStringLiteral("Video not found: ") + link.trimmed() : QString();
    if (!m_problem.isEmpty())
        Console::line(m_problem);
    m_controlsShown = !hideControls;
    m_continueAfter = continueAfter;
    m_frozen = false;
    // Without controls nobody could start it: it starts by itself.
    m_wantsPlay = !m_source.isEmpty() && (autoStart || hideControls);
    emit changed();
}

void DroneVideo::freeze()
{
    m_frozen = true;
    emit changed();
}

void DroneVideo::thaw()
{
    m_frozen = false;
    emit changed();
}

void DroneVideo::play()
{
    if (!m_source.isEmpty())
        setWantsPlay(true);
}

void DroneVideo::pause()
{
    setWantsPlay(false);
}

void DroneVideo::playbackEnded()
{
    setWantsPlay(false);
    if (m_continueAfter)
        emit finishedAndContinue();
}

void DroneVideo::playbackFailed(const QString &error)
{
    m_problem = QStringLiteral("Video cannot be played: ") + error;
    Console::line(m_problem);
    m_wantsPlay = false;
    emit changed();
}

void DroneVideo::setWantsPlay(bool play)
{
    if (play == m_wantsPlay)
        return;
    m_wantsPlay = play;
    emit changed();
}
