#include "web/WebDroneName.h"

#include "common/OutsideText.h"

QString WebDroneName::of(const QString &typed, const QString &userAgent)
{
    const QString name = OutsideText::printable(typed.simplified()).left(maximumLength);
    if (!name.isEmpty())
        return name;
    return QStringLiteral("Tablet (") + browser(userAgent) + QLatin1Char(')');
}

QString WebDroneName::browser(const QString &userAgent)
{
    // Most browsers name the ones they are built on as well: the first token that matches wins.
    static const struct
    {
        const char *token;
        const char *name;
    } browsers[] = {{"Edg/", "Edge"},           {"OPR/", "Opera"},      {"SamsungBrowser/", "Samsung Internet"},
                    {"Firefox/", "Firefox"},    {"FxiOS/", "Firefox"},  {"CriOS/", "Chrome"},
                    {"Chromium/", "Chromium"},  {"HeadlessChrome/", "Chromium"}, {"Chrome/", "Chrome"},
                    {"Safari/", "Safari"}};
    for (const auto &known : browsers)
        if (userAgent.contains(QLatin1String(known.token)))
            return QString::fromLatin1(known.name);
    return QStringLiteral("Browser");
}
