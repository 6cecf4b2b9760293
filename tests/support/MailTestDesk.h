#pragma once

#include "support/LineProcess.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

// The mail set-up of a lab, in a temporary folder: the desktop's settings
// (so none of this machine's mail programs is seen), a stand-in mail
// program that records its arguments, and a real SMTP server on loopback.
// The process's environment points at it while it lives.
class MailTestDesk
{
public:
    MailTestDesk();
    ~MailTestDesk();

    // Registers the stand-in for mailto: links with xdg-mime, as a lab would.
    void registerMailProgram();
    // What the stand-in was started with, once it has been (empty: never).
    QStringList mailProgramArguments() const;

    // Starts the SMTP server; it turns away every unknown@ recipient.
    void startMailServer();
    // msmtp sending to that server, as a sendmail program.
    QStringList sendmail() const { return {"/usr/bin/msmtp", "-C", path("msmtprc")}; }
    // The messages the server accepted: their recipients and saved paths.
    QList<QPair<QString, QString>> received() const;

    // What Python's e-mail parser makes of a message; the attachment's bytes
    // go to attachmentCopy.
    static QStringList parsedByPython(const QString &emlPath, const QString &attachmentCopy);

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_savedEnvironment;
    LineProcess m_server;
};
