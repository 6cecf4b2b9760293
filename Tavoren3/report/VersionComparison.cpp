#include "report/VersionComparison.h"

#include <QRegularExpression>
#include <limits>

QList<qint64> VersionComparison::normalise(const QString &text)
{
    static const QRegularExpression other(QStringLiteral("[^0-9.]+"));
    QList<qint64> parts;
    const QStringList pieces = QString(text).remove(other).split(QLatin1Char('.'), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        bool ok = false;
        const qint64 value = piece.toLongLong(&ok);
        parts.append(ok ? value : std::numeric_limits<qint64>::max());
    }
    return parts;
}

int VersionComparison::compare(const QList<qint64> &running, const QList<qint64> &server)
{
    const qsizetype n = std::max(running.size(), server.size());
    for (qsizetype i = 0; i < n; ++i) {
        const qint64 r = running.value(i, 0);
        const qint64 s = server.value(i, 0);
        if (r != s)
            return r < s ? -1 : 1;
    }
    return 0;
}
