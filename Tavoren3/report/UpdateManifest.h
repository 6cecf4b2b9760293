#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What an installation manifest (a property list, XML or binary) announces:
// items[0].metadata."bundle-version" and ."build".
struct UpdateManifest
{
    bool parsed = false;           // the bytes were a property list
    bool hasMetadata = false;      // it had the items[0].metadata dictionary of strings
    QString error;                 // why it did not parse
    QString metadataText;          // the metadata dictionary, printed
    std::optional<QString> version;
    std::optional<QString> build;

    static UpdateManifest parse(const QByteArray &bytes);
};
