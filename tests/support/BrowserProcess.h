#pragma once

#include "support/LineProcess.h"

#include <QJsonValue>

// One page in headless chromium, worked through puppeteer-core
// (tools/webdrone-test/page-driver.js): commands as lines, each answered
// with the next line that starts with "= ".
class BrowserProcess : public LineProcess
{
public:
    BrowserProcess();
    // Asks the driver to close its browser first: killed, it would leave chromium running.
    ~BrowserProcess();

    // Whether chromium and the driver's packages are there to run it.
    static bool available();

    QString ask(const QString &command, int timeoutMs = 30000) { return LineProcess::ask(command, timeoutMs); }
    // A script expression's value.
    QJsonValue eval(const QString &expression);
    // Evaluates the expression until it is true.
    bool waitFor(const QString &expression, int timeoutMs = 15000);
};
