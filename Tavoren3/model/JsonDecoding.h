#pragma once

#include "model/DecodingError.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <nlohmann/json.hpp>
#include <exception>
#include <optional>

// Typed reading of JSON values with three strengths per key:
//  required - absence or a wrong type fails,
//  strict   - absence yields none, a wrong type fails,
//  lenient  - any failure yields none.
// Failures travel as DecodingFailure and end at the decoder's entry point.
namespace JsonDecoding {

using Json = nlohmann::json;
using Path = QStringList;

struct DecodingFailure : std::exception
{
    explicit DecodingFailure(DecodingError e) : error(std::move(e)) {}
    const char *what() const noexcept override { return "decoding failure"; }
    DecodingError error;
};

// Parses bytes; invalid JSON fails as data corrupted.
Json parse(const QByteArray &bytes);

// "a string", "a number", ... for error texts.
QString kindOf(const Json &value);

QString string(const Json &value, const Path &path);
qint64 integer(const Json &value, const Path &path);
bool boolean(const Json &value, const Path &path);
QUuid uuid(const Json &value, const Path &path);
QMap<QString, qint64> integerMap(const Json &value, const Path &path);
// Fails unless value is an object.
const Json &object(const Json &value, const Path &path);

template <class Decode>
auto array(const Json &value, const Path &path, Decode decode)
{
    using T = decltype(decode(value, path));
    if (value.is_null())
        throw DecodingFailure(DecodingError::valueNotFound(QStringLiteral("Array"), path));
    if (!value.is_array())
        throw DecodingFailure(DecodingError::typeMismatch(QStringLiteral("Array"), kindOf(value), path));
    QList<T> items;
    for (std::size_t i = 0; i < value.size(); ++i)
        items.append(decode(value[i], path + QStringList{QStringLiteral("Index %1").arg(i)}));
    return items;
}

// A JSON object read key by key.
class Keyed
{
public:
    Keyed(const Json &value, Path path);

    const Path &path() const { return m_path; }

    template <class Decode>
    auto required(const char *key, Decode decode) const
    {
        const Json *value = find(key);
        if (!value)
            throw DecodingFailure(DecodingError::keyNotFound(QString::fromUtf8(key), m_path));
        return decode(*value, m_path + QStringList{QString::fromUtf8(key)});
    }

    template <class Decode>
    auto strict(const char *key, Decode decode) const -> std::optional<decltype(decode(Json(), Path()))>
    {
        const Json *value = find(key);
        if (!value || value->is_null())
            return std::nullopt;
        return decode(*value, m_path + QStringList{QString::fromUtf8(key)});
    }

    template <class Decode>
    auto lenient(const char *key, Decode decode) const -> std::optional<decltype(decode(Json(), Path()))>
    {
        try {
            return strict(key, decode);
        } catch (const DecodingFailure &) {
            return std::nullopt;
        }
    }

private:
    const Json *find(const char *key) const;

    const Json &m_object;
    Path m_path;
};

} // namespace JsonDecoding
