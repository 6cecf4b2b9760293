#pragma once

#include <QString>

// The name a web drone goes by on the timekeeper's screens.
class WebDroneName
{
public:
    static constexpr int maximumLength = 40;

    // The name typed on the page, else "Tablet (<browser>)" from its user agent.
    static QString of(const QString &typed, const QString &userAgent);
    static QString browser(const QString &userAgent);
};
