#pragma once

#include <QUrl>
#include <memory>

// Opens an address in the system (a browser, an installer).
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QUrl &url) = 0;

    // The process's opener; the application installs the desktop one.
    static UrlOpener &current();
    static void install(std::shared_ptr<UrlOpener> opener);
};
