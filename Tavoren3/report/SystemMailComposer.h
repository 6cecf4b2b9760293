#pragma once

#include "report/MailComposer.h"

#include <QObject>
#include <QStringList>

// This machine's way of mailing: the desktop's mail program when one is
// registered for mailto: links, otherwise the lab's mail server through
// the machine's sendmail-compatible program, otherwise none. Whether a
// mail program is registered is asked of xdg-mime without blocking.
class SystemMailComposer : public QObject, public MailComposer
{
public:
    enum Route { NoRoute, DesktopComposer, MailServer };

    // sendmail: the program (and any leading arguments of its own) that
    // takes a whole message on standard input.
    explicit SystemMailComposer(QStringList sendmail = {QStringLiteral("/usr/sbin/sendmail")}, QObject *parent = nullptr);

    static Route routeFor(bool mailtoHandlerRegistered, bool sendmailPresent);
    // The route of the last answer of canSendMail.
    Route route() const { return m_route; }

    void canSendMail(std::function<void(bool)> answered) override;
    void present(const MailComposeView &mail, std::function<void(const QString &status)> finished) override;

private:
    QStringList m_sendmail;
    Route m_route = NoRoute;
};
