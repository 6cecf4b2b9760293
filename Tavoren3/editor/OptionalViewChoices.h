#pragma once

#include "model/OptionalViewSettings.h"

#include <QMap>
#include <QString>
#include <QStringList>

// The optional views the editor offers, the parameters each one asks for,
// and how those parameters turn into a step's positional Parameters.
class OptionalViewChoices
{
public:
    using Staged = QMap<QString, QString>;

    // The offered views, in the order a step's list is written in.
    static const QStringList &availableOptionalViews();

    // The keys of the parameters a view asks for, in Parameters order;
    // empty for views without parameters and for views not offered.
    static QStringList parameterKeys(const QString &viewName);
    static QString prompt(const QString &viewName, const QString &key);
    // What the operator picks from; empty where the text is free.
    static QStringList choices(const QString &viewName, const QString &key);

    // The staged parameters of a view read from a step.
    static Staged staged(const OptionalViewSettings &view);
    // The view as written into a step, absent parameters at their defaults.
    static OptionalViewSettings settings(const QString &viewName, const Staged &staged);
};
