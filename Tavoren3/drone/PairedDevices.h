#pragma once

#include <QList>
#include <QString>

// The devices this program is paired with: each one's certificate
// fingerprint and the name it had when paired, in a JSON file of the
// configuration folder. Read anew at every question, so a pairing or a
// forgetting by another instance counts at once.
class PairedDevices
{
public:
    struct Device
    {
        QString fingerprint;
        QString name;
    };

    static constexpr const char *dronesFile = "paired-drones.json";
    static constexpr const char *timekeepersFile = "paired-timekeepers.json";

    explicit PairedDevices(const QString &filePath) : m_path(filePath) {}
    // The file of that name in this program's configuration folder.
    static QString inConfigFolder(const char *fileName);

    QString filePath() const { return m_path; }
    QList<Device> devices() const;
    bool contains(const QString &fingerprint) const;
    bool anyNamed(const QString &name) const;
    // Adds the device, or renames it when it is paired already.
    void add(const QString &fingerprint, const QString &name);
    bool remove(const QString &fingerprint);
    // The number of devices forgotten.
    int removeAll();

private:
    void write(const QList<Device> &devices);

    QString m_path;
};
