#pragma once

#include "support/LineProcess.h"

#include <QTemporaryDir>

// tavoren --headless on a documents folder, with settings of its own and the
// update check pointed at a closed loopback port. Touches go in as lines;
// each answer is the next line that starts with "= ".
class TimekeeperProcess : public LineProcess
{
public:
    explicit TimekeeperProcess(const QString &documents);

    // The answer to one command, without its "= ".
    QString ask(const QString &command, int timeoutMs = 15000);
    bool click(const QString &objectName) { return ask("click " + objectName) == "clicked " + objectName; }
    bool type(const QString &objectName, const QString &text)
    {
        return ask("type " + objectName + " " + text) == "typed " + objectName;
    }
    QString text(const QString &objectName);
    bool shown(const QString &objectName) { return ask("shown " + objectName) == "shown " + objectName + ": true"; }
    bool enabled(const QString &objectName)
    {
        return ask("enabled " + objectName) == "enabled " + objectName + ": true";
    }
    // Asks until the control answers as wanted.
    bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

private:
    QTemporaryDir m_settings;
};
