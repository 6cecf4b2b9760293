#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The prepared e-mail with a completed run's label file.
struct MailComposeView
{
    QStringList recipients;
    QString subject;
    QString body; // HTML
    std::optional<QByteArray> attachmentData;
    QString attachmentFileName;

    // Builds the message for one address; the attachment is the label file
    // of completedLogFileName in the protocol's label folder.
    static MailComposeView prepare(const QString &emailAddress, const QString &completedLogFileName,
                                   const QString &researchName);

    static QString htmlEscaped(const QString &text);
    static QString htmlBody(const QString &completedLogFileName);
    // Whole-text check of an address.
    static bool isValidEmailAddress(const QString &address);
};
