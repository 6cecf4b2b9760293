#pragma once

#include <QUrl>

// Opens an address in the system (a browser, an installer).
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl &url) = 0;
};
