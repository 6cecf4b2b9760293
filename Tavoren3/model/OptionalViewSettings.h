#pragma once

#include <QList>
#include <QString>
#include <optional>

// One optional view of a step: a view name and its positional parameters.
struct OptionalViewSettings
{
    QString ViewName;
    QList<std::optional<QString>> Parameters;

    // Parameter i, or none when the list is too short or the entry is null.
    std::optional<QString> parameter(qsizetype index) const;

    // The parameters of the older single-string form.
    static QList<std::optional<QString>> parametersFromString(const QString &viewName, const QString &text);

    bool operator==(const OptionalViewSettings &) const = default;
};
