#include "run/LabelFileWriter.h"

#include "common/Clock.h"
#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/OutsideText.h"
#include "common/WholeFile.h"
#include "run/LogTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString keepOnly(const QString &text, QLatin1String allowed)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() == 100)
            break;
        if (c.unicode() < 128 && allowed.contains(c))
            kept.append(c);
    }
    return kept;
}

QString urlOf(const QString &path)
{
    return QUrl::fromLocalFile(path).toString();
}

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Appends to an existing file; a failed write is cut back off, so the file
// never keeps half a line.
bool appendToFile(const QString &path, const QByteArray &bytes, QString *failure)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        *failure = lastError();
        Console::line(QStringLiteral("Fout bij het openen van het bestand om toe te voegen: ") + urlOf(path));
        return false;
    }
    struct stat before {};
    const bool sized = ::fstat(fd, &before) == 0;
    const bool ok = WholeFile::writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok) {
        const QString reason = lastError();
        if (sized && ::ftruncate(fd, before.st_size) == 0)
            ::fsync(fd);
        ::close(fd);
        *failure = reason;
        Console::line(QStringLiteral("Fout bij het schrijven naar bestand: ") + reason);
        return false;
    }
    ::close(fd);
    Console::line(QStringLiteral("Nieuwe tijd en datum toegevoegd aan: ") + urlOf(path));
    return true;
}

// A new file appears whole, with its first line, or not at all.
bool createFile(const QString &path, const QByteArray &bytes, QString *failure)
{
    if (!WholeFile::write(path, bytes, failure)) {
        Console::line(QStringLiteral("Fout bij het schrijven naar bestand: ") + *failure);
        return false;
    }
    Console::line(QStringLiteral("Eerste log weggeschreven naar: ") + urlOf(path));
    return true;
}

} // namespace

QString LabelFileWriter::safeFileName(const QString &fileName)
{
    return keepOnly(fileName, QLatin1String("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-."));
}

QString LabelFileWriter::safeFolderName(const QString &folder)
{
    return keepOnly(folder, QLatin1String("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"));
}

std::optional<QString> LabelFileWriter::labelFilePath(const QString &fileName, const QString &folder)
{
    const auto documents = DocumentsFolder::path();
    if (!documents)
        return std::nullopt;
    const QString safeFolder = safeFolderName(folder);
    const QString dir = safeFolder.isEmpty() ? *documents
                                             : QDir(*documents).filePath(QStringLiteral("Label_files/") + safeFolder);
    return QDir(dir).filePath(safeFileName(fileName));
}

bool LabelFileWriter::writeLabelFileLine(const QString &fileName, const QString &folder, const QString &line,
                                         QString *failure)
{
    QString reason;
    if (!failure)
        failure = &reason;
    const auto path = labelFilePath(fileName, folder);
    if (!path) {
        *failure = QStringLiteral("there is no documents folder");
        return false;
    }
    const QString dir = QFileInfo(*path).absolutePath();
    if (!QFileInfo::exists(dir)) {
        QDir().mkpath(dir);
        WholeFile::syncDirectory(QFileInfo(dir).absolutePath());
    }
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    return QFileInfo::exists(*path) ? appendToFile(*path, bytes, failure) : createFile(*path, bytes, failure);
}

bool LabelFileWriter::writeEventLog(const QString &text)
{
    return writeEventLog(text, Clock::current().now());
}

bool LabelFileWriter::writeEventLog(const QString &text, const QDateTime &at)
{
    return writeLabelFileLine(QStringLiteral("log.lbl"), QString(),
                              LogTime::eventTimestamp(at) + QLatin1Char('\t') + OutsideText::printable(text));
}

std::optional<QByteArray> LabelFileWriter::readCompletedLabelFile(const QString &researchName,
                                                                  const QString &completedLogFileName)
{
    const auto path = labelFilePath(completedLogFileName + QStringLiteral(".lbl"), researchName);
    if (!path) {
        Console::line(QStringLiteral("cant get documents directory"));
        return std::nullopt;
    }
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        Console::line(QStringLiteral("Error reading log file: ") + file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    Console::line(QStringLiteral("Successfully read %1 bytes from log file").arg(bytes.size()));
    return bytes;
}
