#pragma once

#include <QString>
#include <optional>

// How grave a monitor condition is; the raw value is its text.
enum class Severity { info, warning, error, critical };

namespace SeverityText {
QString rawValue(Severity severity);
// None for any text other than the four raw values.
std::optional<Severity> fromRawValue(const QString &text);
}
