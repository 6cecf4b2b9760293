#pragma once

#include "common/OutsideText.h"

#include <QJsonObject>
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

    // The peer a hello or an announcement names, its texts kept on one line.
    static PeerId fromMessage(const QJsonObject &message, const QString &key)
    {
        return PeerId{OutsideText::printable(message.value(QStringLiteral("id")).toString()),
                      OutsideText::printable(message.value(QStringLiteral("name")).toString()), key};
    }

    QString description() const { return displayName + QStringLiteral(" (") + id.left(8) + QLatin1Char(')'); }
    bool operator==(const PeerId &other) const { return id == other.id; }
};
Q_DECLARE_METATYPE(PeerId)
