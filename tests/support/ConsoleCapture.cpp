#include "support/ConsoleCapture.h"

#include "common/Console.h"

#include <algorithm>

ConsoleCapture::ConsoleCapture()
{
    Console::setSink([this](const QString &line) { m_lines.append(line); });
}

ConsoleCapture::~ConsoleCapture()
{
    Console::setSink(nullptr);
}

bool ConsoleCapture::anyStartsWith(const QString &prefix) const
{
    return std::any_of(m_lines.cbegin(), m_lines.cend(), [&](const QString &l) { return l.startsWith(prefix); });
}
