#include "model/DecodingError.h"

QString DecodingError::description() const
{
    static const char *const names[] = {"keyNotFound", "valueNotFound", "typeMismatch", "dataCorrupted"};
    QString text = QString::fromLatin1(names[int(kind)]) + QStringLiteral(": ") + context;
    if (!codingPath.isEmpty())
        text += QStringLiteral(" (at ") + codingPath.join(QLatin1Char('.')) + QLatin1Char(')');
    return text;
}

DecodingError DecodingError::keyNotFound(const QString &key, const QStringList &path)
{
    return {Kind::KeyNotFound, key, {}, QStringLiteral("No value associated with key \"%1\".").arg(key), path};
}

DecodingError DecodingError::valueNotFound(const QString &typeName, const QStringList &path)
{
    return {Kind::ValueNotFound, {}, typeName,
            QStringLiteral("Expected %1 value but found null instead.").arg(typeName), path};
}

DecodingError DecodingError::typeMismatch(const QString &typeName, const QString &found, const QStringList &path)
{
    return {Kind::TypeMismatch, {}, typeName,
            QStringLiteral("Expected to decode %1 but found %2 instead.").arg(typeName, found), path};
}

DecodingError DecodingError::dataCorrupted(const QString &context, const QStringList &path)
{
    return {Kind::DataCorrupted, {}, {}, context, path};
}
