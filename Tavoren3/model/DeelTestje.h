#pragma once

#include "model/DroneSettings.h"
#include "model/OptionalViewSettings.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// One step of a protocol. A value: copies are independent.
struct DeelTestje
{
    QUuid id = QUuid::createUuid();
    qint64 numID = 0;
    QString name;
    QString description;
    qint64 duration = 0;
    std::optional<bool> autoContinue;
    std::optional<QList<DroneSettings>> drone;
    std::optional<bool> aloud_silent;
    std::optional<bool> read_noread;
    QString labelID;
    std::optional<QList<OptionalViewSettings>> optionalViews;

    // The optional views, empty when absent.
    QList<OptionalViewSettings> views() const;
    bool hasView(const QString &viewName) const;

    bool operator==(const DeelTestje &) const = default;
};
