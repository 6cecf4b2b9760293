#include "model/ProtocolLibrary.h"

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/WholeFile.h"
#include "model/ProtocolWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A plain file name inside the folder, or none for anything that points elsewhere.
std::optional<QString> fileInFolder(const QString &folder, const QString &fileName)
{
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String("..")
        || fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\'))
        || fileName.contains(QChar(0)))
        return std::nullopt;
    return QDir(folder).filePath(fileName);
}

ProtocolReader::Result readFailure(const QString &fileName, const QString &reason)
{
    return {nullptr, DecodingError::dataCorrupted(
                         QStringLiteral("The file \"%1\" couldn't be read: %2").arg(fileName, reason), {})};
}

} // namespace

ProtocolLibrary::ProtocolLibrary(CurrentProtocol &current, QObject *parent) : QObject(parent), m_current(current) {}

void ProtocolLibrary::setSelectedFileName(const QString &fileName)
{
    if (m_selectedFileName == fileName)
        return;
    m_selectedFileName = fileName;
    emit selectedFileNameChanged();
}

void ProtocolLibrary::setConfigFiles(const QStringList &files)
{
    if (m_configFiles == files)
        return;
    m_configFiles = files;
    emit configFilesChanged();
}

std::optional<QString> ProtocolLibrary::protocolFolder()
{
    const auto documents = DocumentsFolder::path();
    if (!documents)
        return std::nullopt;
    return QDir(*documents).filePath(QString::fromLatin1(folderName));
}

QString ProtocolLibrary::protocolFileName(const Run &run)
{
    QString name = QString(run.researchName()).replace(QLatin1Char(' '), QLatin1Char('_')) + QLatin1Char('_')
        + run.version() + QStringLiteral(".json");
    for (const QChar separator : {QChar('/'), QChar('\\'), QChar(0)})
        name.replace(separator, QLatin1Char('_'));
    return name;
}

void ProtocolLibrary::listProtocols()
{
    const auto folder = protocolFolder();
    if (!folder)
        return;
    QDir dir(*folder);
    if (!dir.exists()) {
        Console::line(QStringLiteral("The folder \"%1\" doesn't exist.").arg(*folder));
        setConfigFiles({});
        return;
    }
    QStringList files;
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                                    QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        if (!entry.isDir() && entry.suffix() == QLatin1String("json"))
            files.append(entry.fileName());
    }
    setConfigFiles(files);
}

ProtocolReader::Result ProtocolLibrary::loadProtocol(const QString &fileName) const
{
    const auto folder = protocolFolder();
    if (!folder)
        return readFailure(fileName, QStringLiteral("no documents folder"));
    const auto path = fileInFolder(*folder, fileName);
    if (!path)
        return readFailure(fileName, QStringLiteral("not a file name inside the protocol folder"));
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(fileName, file.errorString());
    return ProtocolReader::decode(file.readAll());
}

void ProtocolLibrary::createNewProtocol()
{
    Run::fillAsNewProtocol(*m_current.currentProtocol());
    setSelectedFileName(QString());
}

std::optional<QString> ProtocolLibrary::saveProtocol(const std::optional<QString> &originalFileName)
{
    const auto folder = protocolFolder();
    if (!folder) {
        Console::line(QStringLiteral("Cant find the documents directory for this application"));
        return std::nullopt;
    }
    if (!QDir().mkpath(*folder)) {
        Console::line(QStringLiteral("Failed to make a new 'Research_protocols' directory because of the "
                                     "following error: could not create ")
                      + *folder);
        return std::nullopt;
    }
    const Run &run = *m_current.currentProtocol();
    const QString fileName = protocolFileName(run);
    const auto path = fileInFolder(*folder, fileName);
    QString error = QStringLiteral("the protocol name \"%1\" gives no file name inside the protocol folder")
                        .arg(fileName);
    // The new file is written first; the original goes only once that succeeded.
    if (!path || !WholeFile::write(*path, ProtocolWriter::encode(run), &error)) {
        Console::line(QStringLiteral("Could not save json due to teh following error: ") + error);
        return std::nullopt;
    }
    if (originalFileName && *originalFileName != fileName) {
        if (const auto original = fileInFolder(*folder, *originalFileName)) {
            QFile old(*original);
            if (old.exists() && !old.remove())
                Console::line(QStringLiteral("Could not remove the original protocol file ") + *originalFileName
                              + QStringLiteral(": ") + old.errorString());
        }
    }
    Console::line(QStringLiteral("JSON correctly saved to: ") + *path);
    return fileName;
}

void ProtocolLibrary::duplicateProtocol(const QString &fileName)
{
    const auto folder = protocolFolder();
    if (!folder)
        return;
    ProtocolReader::Result original = loadProtocol(fileName);
    if (!original.run) {
        Console::line(QStringLiteral("Error duplicating protocol: ") + original.error->description());
        return;
    }
    // A name that is listed, or that stands in the folder already, is taken.
    const QString base = QString(fileName).remove(QStringLiteral(".json"));
    const auto taken = [&](const QString &name) {
        return m_configFiles.contains(name) || QFileInfo::exists(QDir(*folder).filePath(name));
    };
    QString candidate = base + QStringLiteral("_copy.json");
    for (int n = 2; taken(candidate); ++n)
        candidate = base + QStringLiteral("_copy%1.json").arg(n);

    Run &copy = *original.run;
    copy.setResearchName(copy.researchName() + QStringLiteral(" (copy)"));
    QString error = QStringLiteral("not a file name inside the protocol folder");
    const auto path = fileInFolder(*folder, candidate);
    if (!path || !WholeFile::write(*path, ProtocolWriter::encode(copy), &error)) {
        Console::line(QStringLiteral("Error duplicating protocol: ") + error);
        return;
    }
    setConfigFiles(m_configFiles + QStringList{candidate});
}

void ProtocolLibrary::deleteProtocol(const QString &fileName)
{
    const auto folder = protocolFolder();
    if (!folder)
        return;
    const auto path = fileInFolder(*folder, fileName);
    QFile file(path.value_or(QString()));
    if (!path || !file.remove()) {
        Console::line(QStringLiteral("Error deleting protocol: ")
                      + (path ? file.errorString() : QStringLiteral("not a file name inside the protocol folder")));
        return;
    }
    QStringList files = m_configFiles;
    files.removeOne(fileName);
    setConfigFiles(files);
    if (m_selectedFileName == fileName)
        setSelectedFileName(QString());
}

void ProtocolLibrary::deleteProtocolFile(const std::optional<QString> &originalFileName)
{
    if (!originalFileName) {
        Console::line(QStringLiteral("❌ No original filename available for deletion - this is a new file"));
        return;
    }
    const auto folder = protocolFolder();
    if (!folder) {
        Console::line(QStringLiteral("❌ Could not find documents directory"));
        return;
    }
    const auto path = fileInFolder(*folder, *originalFileName);
    if (!path || !QFileInfo::exists(*path)) {
        Console::line(QStringLiteral("⚠️ File does not exist: ") + *originalFileName);
        return;
    }
    QFile file(*path);
    if (!file.remove()) {
        Console::line(QStringLiteral("❌ Error deleting file ") + *originalFileName + QStringLiteral(": ")
                      + file.errorString());
        return;
    }
    Console::line(QStringLiteral("✅ Successfully deleted file: ") + *originalFileName);
}
