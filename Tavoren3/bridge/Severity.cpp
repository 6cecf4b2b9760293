#include "bridge/Severity.h"

#include <array>

namespace {
constexpr std::array<std::pair<Severity, const char *>, 4> rawValues{{
    {Severity::info, "INFO"},
    {Severity::warning, "WARNING"},
    {Severity::error, "ERROR"},
    {Severity::critical, "CRITICAL"},
}};
}

QString SeverityText::rawValue(Severity severity)
{
    for (const auto &[value, text] : rawValues)
        if (value == severity)
            return QString::fromLatin1(text);
    return {};
}

std::optional<Severity> SeverityText::fromRawValue(const QString &text)
{
    for (const auto &[value, raw] : rawValues)
        if (text == QLatin1String(raw))
            return value;
    return std::nullopt;
}
