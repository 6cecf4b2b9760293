#pragma once

#include <QMetaType>
#include <QString>

// A peer on the drone link: the identity of its current start, the name it
// shows, and the fingerprint of its lasting key (as announced until a link
// has shown the certificate itself).
struct PeerId
{
    QString id;
    QString displayName;
    QString key;

    QString description() const { return displayName + QStringLiteral(" (") + id.left(8) + QLatin1Char(')'); }
    bool operator==(const PeerId &other) const { return id == other.id; }
};
Q_DECLARE_METATYPE(PeerId)
