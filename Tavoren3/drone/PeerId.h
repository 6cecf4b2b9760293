#pragma once

#include "common/OutsideText.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// A peer on the drone link: a stable identity and the name it shows.
struct PeerId
{
    QString id;
    QString displayName;

    // The peer a hello or an announcement names, its texts kept on one line.
    static PeerId fromMessage(const QJsonObject &message)
    {
        return PeerId{OutsideText::printable(message.value(QStringLiteral("id")).toString()),
                      OutsideText::printable(message.value(QStringLiteral("name")).toString())};
    }

    QString description() const { return displayName + QStringLiteral(" (") + id.left(8) + QLatin1Char(')'); }
    bool operator==(const PeerId &other) const { return id == other.id; }
};
Q_DECLARE_METATYPE(PeerId)
