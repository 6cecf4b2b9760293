#include "drone/PairedDevices.h"

#include "common/Console.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

QString PairedDevices::inConfigFolder(const char *fileName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QString::fromLatin1(fileName));
}

QList<PairedDevices::Device> PairedDevices::devices() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Device> devices;
    const QJsonArray paired = QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("paired")).toArray();
    for (const QJsonValue &entry : paired) {
        const QString fingerprint = entry.toObject().value(QStringLiteral("fingerprint")).toString();
        if (!fingerprint.isEmpty())
            devices.append({fingerprint, entry.toObject().value(QStringLiteral("name")).toString()});
    }
    return devices;
}

bool PairedDevices::contains(const QString &fingerprint) const
{
    const QList<Device> all = devices();
    return !fingerprint.isEmpty()
        && std::any_of(all.cbegin(), all.cend(), [&](const Device &device) { return device.fingerprint == fingerprint; });
}

bool PairedDevices::anyNamed(const QString &name) const
{
    const QList<Device> all = devices();
    return std::any_of(all.cbegin(), all.cend(), [&](const Device &device) { return device.name == name; });
}

void PairedDevices::add(const QString &fingerprint, const QString &name)
{
    QList<Device> all = devices();
    all.removeIf([&](const Device &device) { return device.fingerprint == fingerprint; });
    all.append({fingerprint, name});
    write(all);
}

bool PairedDevices::remove(const QString &fingerprint)
{
    QList<Device> all = devices();
    if (all.removeIf([&](const Device &device) { return device.fingerprint == fingerprint; }) == 0)
        return false;
    write(all);
    return true;
}

int PairedDevices::removeAll()
{
    const int count = int(devices().size());
    if (count > 0)
        write({});
    return count;
}

void PairedDevices::write(const QList<Device> &devices)
{
    QJsonArray paired;
    for (const Device &device : devices)
        paired.append(QJsonObject{{QStringLiteral("fingerprint"), device.fingerprint}, {QStringLiteral("name"), device.name}});
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(QJsonObject{{QStringLiteral("paired"), paired}}).toJson()) < 0 || !file.commit())
        Console::line(QStringLiteral("Could not write the paired devices to %1: %2").arg(m_path, file.errorString()));
}
