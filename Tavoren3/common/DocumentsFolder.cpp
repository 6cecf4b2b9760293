#include "common/DocumentsFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace {
std::optional<QString> &overridden()
{
    static std::optional<QString> folder;
    return folder;
}

std::optional<QString> platformFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return std::nullopt;
    return QDir(documents).filePath(QStringLiteral("tavoren"));
}
}

std::optional<QString> DocumentsFolder::path()
{
    std::optional<QString> folder = overridden() ? overridden() : platformFolder();
    if (!folder || folder->isEmpty())
        return std::nullopt;
    if (!QDir().mkpath(*folder))
        return std::nullopt;
    return QDir(*folder).absolutePath();
}

void DocumentsFolder::setOverride(std::optional<QString> folder)
{
    overridden() = std::move(folder);
}
