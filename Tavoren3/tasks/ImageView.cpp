#include "tasks/ImageView.h"

#include "common/DocumentsFolder.h"
#include "common/MediaName.h"
#include "tasks/TaskFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

QString expandHome(const QString &path)
{
    return path.startsWith(QLatin1Char('~')) ? QDir::homePath() + path.mid(1) : path;
}

bool isPath(const QString &name)
{
    return name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('~'));
}

} // namespace

ImageView::ImageView(QString file, Reach reach, QObject *parent)
    : QObject(parent), m_file(std::move(file)), m_reach(reach)
{
}

bool ImageView::reachable(const QString &name) const
{
    return m_reach == Reach::pathsToo || MediaName::isPlainName(name);
}

QStringList ImageView::parseImageList(const QString &text)
{
    QStringList names;
    for (const QString &line : TaskFile::splitLines(text)) {
        const QString name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith(QLatin1Char('#')))
            names.append(name);
    }
    return names;
}

QString ImageView::missingImagesText(const QStringList &missing)
{
    return QStringLiteral("Missing images: ") + missing.mid(0, 5).join(QStringLiteral(", "))
        + (missing.size() > 5 ? QStringLiteral("\u2026") : QString());
}

std::optional<QString> ImageView::listFilePath() const
{
    if (!reachable(m_file))
        return std::nullopt;
    if (isPath(m_file))
        return expandHome(m_file);
    if (m_file.isEmpty())
        return std::nullopt;
    const qsizetype dot = m_file.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? m_file : m_file.left(dot);
    const QString extension = dot < 0 ? QStringLiteral("txt") : m_file.mid(dot + 1);
    const QString resource = QStringLiteral(":/") + base + QLatin1Char('.') + extension;
    if (QFile::exists(resource))
        return resource;
    const auto documents = DocumentsFolder::path();
    if (!documents)
        return std::nullopt;
    return QDir(*documents).filePath(m_file);
}

std::optional<QString> ImageView::pictureFile(const QString &name) const
{
    if (!reachable(name))
        return std::nullopt;
    if (isPath(name))
        return expandHome(name);
    if (const auto documents = DocumentsFolder::path()) {
        const QString inDocuments = QDir(*documents).filePath(name);
        if (!QImage(inDocuments).isNull())
            return inDocuments;
    }
    const QString resource = QStringLiteral(":/") + name;
    if (QFile::exists(resource))
        return resource;
    return std::nullopt;
}

void ImageView::appeared()
{
    m_loadError.reset();
    m_images.clear();
    m_sources.clear();
    const auto path = listFilePath();
    QFile list(path.value_or(QString()));
    if (!path || !list.exists()) {
        m_loadError = QStringLiteral("Missing image list file: ") + m_file;
    } else if (!list.open(QIODevice::ReadOnly)) {
        m_loadError = QStringLiteral("Failed reading ") + m_file + QStringLiteral(": ") + list.errorString();
    } else {
        QStringList missing;
        for (const QString &name : parseImageList(QString::fromUtf8(list.readAll()))) {
            const auto file = pictureFile(name);
            const QImage image = file ? QImage(*file) : QImage();
            if (image.isNull()) {
                missing.append(name);
                continue;
            }
            m_images.append(image);
            m_sources.append(file->startsWith(QLatin1Char(':')) ? QStringLiteral("qrc") + *file
                                                                 : QUrl::fromLocalFile(*file).toString());
        }
        if (!missing.isEmpty())
            m_loadError = missingImagesText(missing);
    }
    emit changed();
}
