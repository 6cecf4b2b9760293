#pragma once

#include <QByteArray>
#include <QString>

// Writes a file whole or not at all: a temporary file beside it, synced and
// renamed over it once every byte is in.
class WholeFile
{
public:
    // False, with the reason in *error, when the file was not written.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
};
