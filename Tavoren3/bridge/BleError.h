#pragma once

#include <QString>

// An error reported by the Bluetooth stack.
struct BleError
{
    QString domain;
    int code = 0;
    QString description;

    // The full printed form, as a diagnostic line shows it.
    QString printed() const
    {
        return QStringLiteral("Error Domain=%1 Code=%2 \"%3\"").arg(domain, QString::number(code), description);
    }
};
