#include "report/SystemMailComposer.h"

#include "report/BackgroundProgram.h"
#include "report/DesktopMailComposer.h"
#include "report/SendmailTransport.h"

#include <QStandardPaths>

namespace {
// xdg-mime reads a few small files; longer means something hangs.
constexpr int queryLimitMs = 5000;
}

SystemMailComposer::SystemMailComposer(QStringList sendmail, QObject *parent)
    : QObject(parent), m_sendmail(std::move(sendmail))
{
}

SystemMailComposer::Route SystemMailComposer::routeFor(bool mailtoHandlerRegistered, bool sendmailPresent)
{
    if (mailtoHandlerRegistered)
        return DesktopComposer;
    return sendmailPresent ? MailServer : NoRoute;
}

void SystemMailComposer::canSendMail(std::function<void(bool)> answered)
{
    const QStringList query{QStringLiteral("xdg-mime"), QStringLiteral("query"), QStringLiteral("default"),
                            QStringLiteral("x-scheme-handler/mailto")};
    BackgroundProgram::run(query, {}, queryLimitMs, this, [this, answered](const BackgroundProgram::Outcome &outcome) {
        const bool handler = outcome.succeeded && !outcome.out.trimmed().isEmpty();
        m_route = routeFor(handler, !QStandardPaths::findExecutable(m_sendmail.value(0)).isEmpty());
        answered(m_route != NoRoute);
    });
}

void SystemMailComposer::present(const MailComposeView &mail, std::function<void(const QString &status)> finished)
{
    switch (m_route) {
    case DesktopComposer:
        DesktopMailComposer::present(mail, this, finished);
        break;
    case MailServer:
        SendmailTransport::send(m_sendmail, mail, this, finished);
        break;
    case NoRoute:
        finished(QStringLiteral("No mail program or mail server was found on this device."));
        break;
    }
}
