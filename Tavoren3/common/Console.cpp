#include "common/Console.h"

#include <cstdio>

namespace {
std::FILE *&stream()
{
    static std::FILE *s = stdout;
    return s;
}

Console::Sink &sink()
{
    static Console::Sink s;
    return s;
}
}

void Console::line(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream());
    std::fputc('\n', stream());
    std::fflush(stream());
    if (sink())
        sink()(text);
}

Console::Sink Console::setSink(Sink s)
{
    Sink previous = std::move(sink());
    sink() = std::move(s);
    return previous;
}

void Console::useStandardError()
{
    stream() = stderr;
}
