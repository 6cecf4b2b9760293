#pragma once

#include "support/QtPrinting.h"

#include <QStringList>

// Collects the console lines written while it lives.
class ConsoleCapture
{
public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture &) = delete;
    ConsoleCapture &operator=(const ConsoleCapture &) = delete;

    const QStringList &lines() const { return m_lines; }
    bool contains(const QString &line) const { return m_lines.contains(line); }
    bool anyStartsWith(const QString &prefix) const;
    void clear() { m_lines.clear(); }

private:
    QStringList m_lines;
};
