#include "support/BrowserProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString driverFolder = QStringLiteral(TAVOREN_SOURCE_DIR "/tools/webdrone-test");

} // namespace

BrowserProcess::BrowserProcess()
{
    start(QStandardPaths::findExecutable(QStringLiteral("node")), {driverFolder + "/page-driver.js"});
    waitForLine(QStringLiteral("ready"), 30000);
}

BrowserProcess::~BrowserProcess()
{
    command(QStringLiteral("quit"));
    waitForExit(10000);
}

bool BrowserProcess::available()
{
    return QFile::exists(QStringLiteral("/usr/bin/chromium")) && !QStandardPaths::findExecutable("node").isEmpty()
           && QDir(driverFolder).exists(QStringLiteral("node_modules/puppeteer-core"));
}

QJsonValue BrowserProcess::eval(const QString &expression)
{
    const QString answer = ask(QStringLiteral("eval ") + expression);
    return QJsonDocument::fromJson("[" + answer.toUtf8() + "]").array().at(0);
}

bool BrowserProcess::waitFor(const QString &expression, int timeoutMs)
{
    return QTest::qWaitFor([&] { return eval(expression).toBool(); }, timeoutMs);
}
