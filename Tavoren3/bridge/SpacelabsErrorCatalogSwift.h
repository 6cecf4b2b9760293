#pragma once

#include "bridge/ErrorStatusSwift.h"

#include <QMap>
#include <QString>
#include <optional>

// The monitor's error and battery codes. Pure data; no instances.
class SpacelabsErrorCatalogSwift
{
public:
    SpacelabsErrorCatalogSwift() = delete;

    // Trims and upper-cases the code, then asks the umbrella table, the
    // ECn4 rule, the main table and the display-code table, in that order.
    static std::optional<ErrorStatusSwift> lookup(const QString &code);

    // The tables by key, each built on first use.
    static const QMap<QString, ErrorStatusSwift> &umbrellaEntries();
    static const QMap<QString, ErrorStatusSwift> &mainEntries();
    static const QMap<QString, ErrorStatusSwift> &displayCodeEntries();
};
