#include "model/BundleDecodable.h"

#include "common/DocumentsFolder.h"
#include "model/ProtocolReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString decodeFailure(const QString &path, const DecodingError &error)
{
    const QString start = QStringLiteral("Failed to decode ") + path;
    switch (error.kind) {
    case DecodingError::Kind::KeyNotFound:
        return start + QStringLiteral(" from bundle due missing key ") + error.key;
    case DecodingError::Kind::TypeMismatch:
        return start + QStringLiteral(" from bundle due type mismatch ") + error.context;
    case DecodingError::Kind::ValueNotFound:
        return start + QStringLiteral(" from bundle due type ") + error.typeName + QStringLiteral(" missing value");
    case DecodingError::Kind::DataCorrupted:
        break;
    }
    return start + QLatin1Char(' ') + error.context;
}

} // namespace

std::variant<std::unique_ptr<Run>, QString> BundleDecodable::loadDefaultProtocol()
{
    const QString path = QString::fromLatin1(defaultProtocolPath);

    QFile file;
    if (const auto documents = DocumentsFolder::path())
        file.setFileName(QDir(*documents).filePath(path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        const QString resourceName = QFileInfo(path).fileName().remove(QStringLiteral(".json"));
        file.setFileName(QStringLiteral(":/Research_protocols/") + resourceName + QStringLiteral(".json"));
        if (!file.exists())
            return QStringLiteral("Failed to locate ") + path + QStringLiteral(" in bundle");
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("Failed to load ") + path + QStringLiteral(" from bundle");
    }
    ProtocolReader::Result result = ProtocolReader::decode(file.readAll());
    if (!result.run)
        return decodeFailure(path, *result.error);
    return std::move(result.run);
}
