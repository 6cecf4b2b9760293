#pragma once

#include <QMetaType>
#include <QString>

// A peer on the drone link: a stable identity and the name it shows.
struct PeerId
{
    QString id;
    QString displayName;

    QString description() const { return displayName + QStringLiteral(" (") + id.left(8) + QLatin1Char(')'); }
    bool operator==(const PeerId &other) const { return id == other.id; }
};
Q_DECLARE_METATYPE(PeerId)
