#include "tasks/TaskFile.h"

#include "common/Console.h"
#include "common/DocumentsFolder.h"

#include <QDir>
#include <QFile>

namespace {

QStringList &lines()
{
    static QStringList list{QStringLiteral("Ready?")};
    return list;
}

bool isNewline(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

} // namespace

const QStringList &TaskFile::taskLines()
{
    return lines();
}

void TaskFile::reset()
{
    lines() = QStringList{QStringLiteral("Ready?")};
}

QStringList TaskFile::splitLines(const QString &text)
{
    QStringList entries;
    QString entry;
    for (const QChar c : text) {
        if (isNewline(c)) {
            entries.append(entry);
            entry.clear();
        } else {
            entry.append(c);
        }
    }
    entries.append(entry);
    return entries;
}

void TaskFile::loadTaskFile(const QString &name)
{
    const QString resourceName = QString(name).remove(QStringLiteral(".txt"));
    QFile bundled(QStringLiteral(":/Reken/") + resourceName + QStringLiteral(".txt"));
    if (!resourceName.isEmpty() && bundled.exists()) {
        if (bundled.open(QIODevice::ReadOnly)) {
            lines() = splitLines(QString::fromUtf8(bundled.readAll()));
            Console::line(QStringLiteral("Successfully loaded ") + name + QStringLiteral(" from app bundle"));
            return;
        }
        Console::line(QStringLiteral("Error reading from bundle: ") + bundled.errorString());
    }
    QString error = QStringLiteral("no documents folder");
    if (const auto documents = DocumentsFolder::path()) {
        QFile file(QDir(*documents).filePath(QStringLiteral("Reken/") + name));
        if (!name.contains(QLatin1String("..")) && file.open(QIODevice::ReadOnly)) {
            lines() = splitLines(QString::fromUtf8(file.readAll()));
            Console::line(QStringLiteral("Successfully loaded ") + name + QStringLiteral(" from Documents/Reken"));
            return;
        }
        error = file.errorString();
    }
    Console::line(QStringLiteral("Error reading reken file: ") + error);
    lines() = QStringList{QStringLiteral("Error loading file: ") + name
                          + QStringLiteral(" not found in bundle or Documents/Reken")};
}
