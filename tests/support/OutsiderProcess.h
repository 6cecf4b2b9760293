#pragma once

#include "support/LineProcess.h"

#include <algorithm>

// The stranger of tests/drone/outsider.py, a peer written from the drone
// link's wire protocol alone, started with its role's arguments.
class OutsiderProcess : public LineProcess
{
public:
    explicit OutsiderProcess(const QStringList &arguments)
    {
        start(QStringLiteral("/usr/bin/python3"),
              QStringList{QStringLiteral(TAVOREN_SOURCE_DIR "/tests/drone/outsider.py")} + arguments);
        waitForLine(QStringLiteral("key "), 20000);
    }
    // The fingerprint of its certificate.
    QString key() const { return lines().value(0).mid(4); }
    quint16 port() { return quint16(lineAfter(0, QStringLiteral("listening ")).value_or(QString()).mid(10).toUInt()); }
    bool said(const QString &prefix) const
    {
        const QStringList all = lines();
        return std::any_of(all.cbegin(), all.cend(), [&](const QString &line) { return line.startsWith(prefix); });
    }
};
