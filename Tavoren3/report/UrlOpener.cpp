#include "report/UrlOpener.h"

#include "common/Console.h"

namespace {

// Where nothing can open addresses, say which one was asked for.
class ConsoleUrlOpener : public UrlOpener
{
public:
    void open(const QUrl &url) override { Console::line(QStringLiteral("Open ") + url.toString()); }
};

std::shared_ptr<UrlOpener> &installed()
{
    static std::shared_ptr<UrlOpener> opener = std::make_shared<ConsoleUrlOpener>();
    return opener;
}

} // namespace

UrlOpener &UrlOpener::current()
{
    return *installed();
}

void UrlOpener::install(std::shared_ptr<UrlOpener> opener)
{
    installed() = opener ? std::move(opener) : std::make_shared<ConsoleUrlOpener>();
}
