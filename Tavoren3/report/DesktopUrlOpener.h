#pragma once

#include "report/UrlOpener.h"

// Opens addresses with the desktop's handler for them.
class DesktopUrlOpener : public UrlOpener
{
public:
    void open(const QUrl &url) override;
};
