#include "model/OptionalViewSettings.h"

std::optional<QString> OptionalViewSettings::parameter(qsizetype index) const
{
    if (index < 0 || index >= Parameters.size())
        return std::nullopt;
    return Parameters.at(index);
}

QList<std::optional<QString>> OptionalViewSettings::parametersFromString(const QString &viewName,
                                                                         const QString &text)
{
    if (viewName != QLatin1String("Video (drone side)"))
        return {text};
    // "link showButtons autoStart autoContinue", cut at every single space.
    const QStringList parts = text.split(QLatin1Char(' '));
    QList<std::optional<QString>> parameters{parts.value(0)};
    for (qsizetype i = 1; i < 4; ++i)
        parameters.append(i < parts.size() ? parts.at(i) : QStringLiteral("no"));
    return parameters;
}
