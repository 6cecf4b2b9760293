#pragma once

#include "support/LineProcess.h"

// A tavoren-drone process: --headless, or with its window (drawn off screen
// in the tests). It prints "state N: PAYLOAD" for each state that arrives.
class DroneProcess : public LineProcess
{
public:
    enum class Screen { none, window };

    explicit DroneProcess(const QString &name, const QStringList &extra = {}, Screen screen = Screen::none);

    quint16 port() const;
    // The payloads received, in order, resends left out.
    QStringList states() const;
};
