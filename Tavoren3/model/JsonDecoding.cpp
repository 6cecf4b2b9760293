#include "model/JsonDecoding.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace JsonDecoding {

Json parse(const QByteArray &bytes)
{
    Json value = Json::parse(bytes.constData(), bytes.constData() + bytes.size(), nullptr, false);
    if (value.is_discarded())
        throw DecodingFailure(DecodingError::dataCorrupted(QStringLiteral("The given data was not valid JSON."), {}));
    return value;
}

QString kindOf(const Json &value)
{
    switch (value.type()) {
    case Json::value_t::null: return QStringLiteral("null");
    case Json::value_t::object: return QStringLiteral("a dictionary");
    case Json::value_t::array: return QStringLiteral("an array");
    case Json::value_t::string: return QStringLiteral("a string");
    case Json::value_t::boolean: return QStringLiteral("a boolean");
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return QStringLiteral("a number");
    default: return QStringLiteral("data");
    }
}

namespace {
[[noreturn]] void mismatch(const char *type, const Json &value, const Path &path)
{
    if (value.is_null())
        throw DecodingFailure(DecodingError::valueNotFound(QString::fromLatin1(type), path));
    throw DecodingFailure(DecodingError::typeMismatch(QString::fromLatin1(type), kindOf(value), path));
}
}

QString string(const Json &value, const Path &path)
{
    if (!value.is_string())
        mismatch("String", value, path);
    return QString::fromStdString(value.get_ref<const std::string &>());
}

qint64 integer(const Json &value, const Path &path)
{
    if (value.is_number_integer() && !value.is_number_unsigned())
        return value.get<qint64>();
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u <= std::uint64_t(std::numeric_limits<qint64>::max()))
            return qint64(u);
    } else if (value.is_number_float()) {
        // A number written with a fraction part counts only when it is whole.
        const double d = value.get<double>();
        if (std::isfinite(d) && std::trunc(d) == d && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
            return qint64(d);
    } else {
        mismatch("Int", value, path);
    }
    throw DecodingFailure(DecodingError::dataCorrupted(
        QStringLiteral("Parsed JSON number <%1> does not fit in Int.").arg(QString::fromStdString(value.dump())), path));
}

bool boolean(const Json &value, const Path &path)
{
    if (!value.is_boolean())
        mismatch("Bool", value, path);
    return value.get<bool>();
}

QUuid uuid(const Json &value, const Path &path)
{
    static const QRegularExpression form(
        QStringLiteral("\\A[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\z"));
    const QString text = string(value, path);
    if (!form.match(text).hasMatch())
        throw DecodingFailure(DecodingError::dataCorrupted(
            QStringLiteral("Attempted to decode UUID from invalid UUID string."), path));
    return QUuid::fromString(text);
}

QMap<QString, qint64> integerMap(const Json &value, const Path &path)
{
    const Json &dictionary = object(value, path);
    QMap<QString, qint64> map;
    for (auto it = dictionary.begin(); it != dictionary.end(); ++it) {
        const QString key = QString::fromStdString(it.key());
        map.insert(key, integer(it.value(), path + QStringList{key}));
    }
    return map;
}

const Json &object(const Json &value, const Path &path)
{
    if (!value.is_object())
        mismatch("Dictionary<String, Any>", value, path);
    return value;
}

Keyed::Keyed(const Json &value, Path path) : m_object(object(value, path)), m_path(std::move(path)) {}

const Json *Keyed::find(const char *key) const
{
    const auto it = m_object.find(key);
    return it == m_object.end() ? nullptr : &*it;
}

} // namespace JsonDecoding
