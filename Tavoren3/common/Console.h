#pragma once

#include <QString>
#include <functional>

// Diagnostic console lines. Every line goes to standard output; tests can
// listen in through a sink.
class Console
{
public:
    using Sink = std::function<void(const QString &)>;

    static void line(const QString &text);

    // Sends the lines to standard error instead (for programs whose
    // standard output carries data).
    static void useStandardError();

    // Installs an extra receiver of every line; returns the previous one.
    static Sink setSink(Sink sink);
};
