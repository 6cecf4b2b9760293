#include "support/TemporaryDocuments.h"

#include "common/DocumentsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

TemporaryDocuments::TemporaryDocuments()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    DocumentsFolder::setOverride(m_dir.path());
}

TemporaryDocuments::~TemporaryDocuments()
{
    DocumentsFolder::setOverride(std::nullopt);
}

QString TemporaryDocuments::filePath(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

void TemporaryDocuments::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TemporaryDocuments::read(const QString &relative) const
{
    QFile file(filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool TemporaryDocuments::exists(const QString &relative) const
{
    return QFileInfo::exists(filePath(relative));
}
