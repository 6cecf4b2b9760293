#include "report/SendmailTransport.h"

#include "common/Clock.h"
#include "report/BackgroundProgram.h"
#include "report/MimeMessage.h"

namespace {
// A mail server that has not answered by then will not.
constexpr int sendLimitMs = 120000;
}

void SendmailTransport::send(const QStringList &sendmail, const MailComposeView &mail, QObject *owner,
                             std::function<void(const QString &)> finished)
{
    const QString to = mail.recipients.join(QStringLiteral(", "));
    BackgroundProgram::run(sendmail + QStringList{QStringLiteral("-t"), QStringLiteral("-i")},
                           MimeMessage::build(mail, Clock::current().now()), sendLimitMs, owner,
                           [finished, to](const BackgroundProgram::Outcome &outcome) {
                               finished(outcome.succeeded
                                            ? QStringLiteral("The e-mail was sent to ") + to + QLatin1Char('.')
                                            : QStringLiteral("The e-mail could not be sent: ") + outcome.failure);
                           });
}
