#pragma once

#include "support/LineProcess.h"

#include <QTemporaryDir>

// tavoren --headless on a documents folder, with settings of its own and the
// update check pointed at a file that is not there, so it fails at once
// without the network. Touches go in as lines; each answer is the next line
// that starts with "= ". Its identity is made before it starts, so a test
// can pair it ahead (LinkPairing) with configFolder().
class TimekeeperProcess : public LineProcess
{
public:
    // configHome: a configuration home to start in again (a restart); empty for a new one.
    // launcher: a program and its arguments that runs the timekeeper (prlimit, say).
    // arguments: more of the timekeeper's own.
    explicit TimekeeperProcess(const QString &documents, const QString &configHome = {},
                               const QStringList &launcher = {}, const QStringList &arguments = {});

    // The timekeeper's own folder in its configuration home.
    QString configFolder() const;

    bool click(const QString &name) { return ask("click " + name) == "clicked " + name; }
    bool type(const QString &name, const QString &text) { return ask("type " + name + " " + text) == "typed " + name; }
    QString text(const QString &objectName);
    bool shown(const QString &name) { return ask("shown " + name) == "shown " + name + ": true"; }
    bool enabled(const QString &name) { return ask("enabled " + name) == "enabled " + name + ": true"; }
    // Asks until the control answers as wanted.
    bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

private:
    QTemporaryDir m_settings;
    QString m_configHome;
};
