#include "common/MediaName.h"

#include <QStringList>

bool MediaName::isPlainName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('~'))
        || name.contains(QLatin1Char(':')) || name.contains(QLatin1Char('\\')))
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return !name.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}
