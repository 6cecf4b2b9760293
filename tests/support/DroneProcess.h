#pragma once

#include "support/LineProcess.h"

#include <QTemporaryDir>

// A tavoren-drone process: --headless, or with its window (drawn off screen
// in the tests). It prints "state N: PAYLOAD" for each state that arrives.
// Its configuration (identity and paired timekeepers) lives in a folder of
// its own; by default it is paired with this test process both ways.
class DroneProcess : public LineProcess
{
public:
    enum class Screen { none, window };
    enum class Pairing { withThisProcess, none };

    // configHome: a configuration home to start in again (a restart); empty for a new one.
    explicit DroneProcess(const QString &name, const QStringList &extra = {}, Screen screen = Screen::none,
                          Pairing pairing = Pairing::withThisProcess, const QString &configHome = {});
    ~DroneProcess() override;

    quint16 port() const;
    // The payloads received, in order, resends left out.
    QStringList states() const;
    // The drone program's own folder in its configuration home.
    QString configFolder() const;

private:
    QTemporaryDir m_ownHome;
    QString m_configHome;
};
