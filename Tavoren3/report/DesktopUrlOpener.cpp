#include "report/DesktopUrlOpener.h"

#include "common/Console.h"

#include <QDesktopServices>

void DesktopUrlOpener::open(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        Console::line(QStringLiteral("Could not open ") + url.toString());
}
