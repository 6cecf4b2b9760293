#pragma once

#include "support/QtPrinting.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh documents folder for one test; the process points at it while it lives.
class TemporaryDocuments
{
public:
    TemporaryDocuments();
    ~TemporaryDocuments();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const;
    // Writes a file below the folder, creating its folders.
    void write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;
    bool exists(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};
