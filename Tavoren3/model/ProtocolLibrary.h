#pragma once

#include "model/CurrentProtocol.h"
#include "model/ProtocolReader.h"

#include <QObject>
#include <QStringList>
#include <optional>

// The protocol files in the documents folder's "Research_protocols".
class ProtocolLibrary : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList configFiles READ configFiles NOTIFY configFilesChanged)
    Q_PROPERTY(QString selectedFileName READ selectedFileName WRITE setSelectedFileName NOTIFY
                   selectedFileNameChanged)

public:
    static constexpr const char *folderName = "Research_protocols";

    explicit ProtocolLibrary(CurrentProtocol &current, QObject *parent = nullptr);

    QStringList configFiles() const { return m_configFiles; }
    QString selectedFileName() const { return m_selectedFileName; }
    void setSelectedFileName(const QString &fileName);

    Q_INVOKABLE void listProtocols();
    ProtocolReader::Result loadProtocol(const QString &fileName) const;
    Q_INVOKABLE void createNewProtocol();
    // Saves the current protocol under the name its content gives; returns
    // that file name, or none when nothing was saved.
    std::optional<QString> saveProtocol(const std::optional<QString> &originalFileName);
    Q_INVOKABLE void duplicateProtocol(const QString &fileName);
    Q_INVOKABLE void deleteProtocol(const QString &fileName);
    void deleteProtocolFile(const std::optional<QString> &originalFileName);

    // researchName with spaces as "_", "_", version, ".json"; path separators
    // become "_" so the name always stays inside the protocol folder.
    static QString protocolFileName(const Run &run);
    // The protocol folder, or none without a documents folder.
    static std::optional<QString> protocolFolder();

signals:
    void configFilesChanged();
    void selectedFileNameChanged();

private:
    void setConfigFiles(const QStringList &files);

    CurrentProtocol &m_current;
    QStringList m_configFiles;
    QString m_selectedFileName;
};
