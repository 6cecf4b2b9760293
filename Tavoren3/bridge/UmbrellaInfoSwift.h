#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The report codes an umbrella code stands for. No table holds one yet: the
// umbrella entries name their report codes in their descriptions.
struct UmbrellaInfoSwift
{
    QStringList likelyReportCodes;
    std::optional<QString> note;

    bool operator==(const UmbrellaInfoSwift &) const = default;
};
