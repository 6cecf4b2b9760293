#pragma once

#include <QByteArray>
#include <QString>

// Writes that reach the disk whole.
class WholeFile
{
public:
    // Writes a file whole or not at all: a temporary file beside it, synced
    // and renamed over it once every byte is in, then the folder synced. An
    // existing file keeps its permissions (a link: its target is written); a
    // new one gets 0644. False, with the reason in *error, when the file was
    // not written.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);

    // Every byte to fd, short writes continued; false with errno set.
    static bool writeAll(int fd, const QByteArray &bytes);
    static void syncDirectory(const QString &dir);
};
