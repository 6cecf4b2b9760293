#pragma once

#include <QList>
#include <QString>

// Version and build texts compared as numbers: everything but digits and
// "." is dropped, the rest split at ".", empty parts dropped.
class VersionComparison
{
public:
    // Parts too large for 64 bits count as the largest number.
    static QList<qint64> normalise(const QString &text);

    // -1 when running is older, 0 when equal, 1 when newer. A missing part
    // counts as 0, so "1.5" equals "1.5.0".
    static int compare(const QList<qint64> &running, const QList<qint64> &server);
};
