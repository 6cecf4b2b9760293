#pragma once

#include <QString>
#include <QStringList>

// Why a document did not decode: one error for the whole document.
struct DecodingError
{
    enum class Kind { KeyNotFound, ValueNotFound, TypeMismatch, DataCorrupted };

    Kind kind = Kind::DataCorrupted;
    QString key;        // KeyNotFound: the missing key
    QString typeName;   // ValueNotFound, TypeMismatch: the expected type
    QString context;    // a readable explanation
    QStringList codingPath;

    // One line: kind, explanation and where in the document.
    QString description() const;

    static DecodingError keyNotFound(const QString &key, const QStringList &path);
    static DecodingError valueNotFound(const QString &typeName, const QStringList &path);
    static DecodingError typeMismatch(const QString &typeName, const QString &found, const QStringList &path);
    static DecodingError dataCorrupted(const QString &context, const QStringList &path);
};
