#include "support/MailTestDesk.h"

#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace {

const char *const smtpServer = R"PY(
import asyncio, os, sys
from aiosmtpd.smtp import SMTP
folder = sys.argv[1]
class Desk:
    async def handle_RCPT(self, server, session, envelope, address, options):
        if address.startswith('unknown@'):
            return '550 5.1.1 <%s>: Recipient address rejected: User unknown' % address
        envelope.rcpt_tos.append(address)
        return '250 OK'
    async def handle_DATA(self, server, session, envelope):
        path = os.path.join(folder, 'received-%d.eml' % len(os.listdir(folder)))
        open(path, 'wb').write(envelope.content)
        print('received', ','.join(envelope.rcpt_tos), path, flush=True)
        return '250 OK'
async def main():
    server = await asyncio.get_running_loop().create_server(lambda: SMTP(Desk()), '127.0.0.1', 0)
    print('port', server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()
asyncio.run(main())
)PY";

void writeFile(const QString &path, const QByteArray &bytes, QFile::Permissions permissions)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.setPermissions(permissions))
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace

MailTestDesk::MailTestDesk()
{
    const QList<QPair<QByteArray, QString>> folders{{"XDG_CONFIG_HOME", "config"}, {"XDG_CONFIG_DIRS", "config-dirs"},
                                                    {"XDG_DATA_HOME", "data"},     {"XDG_DATA_DIRS", "data-dirs"},
                                                    {"XDG_CACHE_HOME", "cache"}};
    for (const auto &[name, folder] : folders) {
        m_savedEnvironment.append({name, qgetenv(name)});
        QDir().mkpath(path(folder + "/applications"));
        qputenv(name, path(folder).toUtf8());
    }
    // Seen as no desktop in particular, which opens mailto: links only with a display.
    for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "MAILER", "WAYLAND_DISPLAY"}) {
        m_savedEnvironment.append({name, qgetenv(name)});
        qunsetenv(name);
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("WAYLAND_DISPLAY", "tavoren-test");
}

MailTestDesk::~MailTestDesk()
{
    m_server.kill();
    for (const auto &[name, value] : m_savedEnvironment) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
}

void MailTestDesk::registerMailProgram()
{
    const QString program = path("standin-mail");
    writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" \"$0.arguments\"\n",
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(path("data/applications/standin-mail.desktop"),
              "[Desktop Entry]\nType=Application\nName=Stand-in mail\nExec=" + program.toUtf8()
                  + " %u\nMimeType=x-scheme-handler/mailto;\n",
              QFile::ReadOwner | QFile::WriteOwner);
    const ProgramRun run = ProgramRun::of("xdg-mime", {"default", "standin-mail.desktop", "x-scheme-handler/mailto"});
    if (run.status != 0)
        throw std::runtime_error("xdg-mime did not register the stand-in: " + run.err.toStdString());
}

QStringList MailTestDesk::mailProgramArguments() const
{
    QFile file(path("standin-mail.arguments"));
    if (!QTest::qWaitFor([&] { return file.exists(); }, 30000) || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

void MailTestDesk::startMailServer()
{
    QDir().mkpath(path("received"));
    m_server.start("/usr/bin/python3", {"-c", smtpServer, path("received")});
    const auto port = m_server.lineAfter(0, "port ", 30000);
    if (!port)
        throw std::runtime_error("the SMTP server did not start");
    writeFile(path("msmtprc"),
              "account default\nhost 127.0.0.1\nport " + port->mid(5).toUtf8()
                  + "\nfrom timekeeper@lab.test\nauth off\ntls off\n",
              QFile::ReadOwner | QFile::WriteOwner);
}

QList<QPair<QString, QString>> MailTestDesk::received() const
{
    QList<QPair<QString, QString>> messages;
    for (const QString &line : m_server.lines()) {
        const QStringList words = line.split(' ');
        if (words.size() == 3 && words.first() == "received")
            messages.append({words.at(1), words.at(2)});
    }
    return messages;
}

QStringList MailTestDesk::parsedByPython(const QString &emlPath, const QString &attachmentCopy)
{
    const QString script = QStringLiteral(R"PY(
import sys, email
from email import policy
msg = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=policy.default)
print('to:', msg['To'])
print('subject:', msg['Subject'])
print('type:', msg.get_content_type())
for part in msg.iter_parts():
    print('part:', part.get_content_type(), part.get_filename())
    if part.get_filename():
        open(sys.argv[2], 'wb').write(part.get_payload(decode=True))
    else:
        print('html starts:', part.get_content()[:6])
print('defects:', len(msg.defects))
)PY");
    return ProgramRun::of(QStringLiteral("python3"), {"-c", script, emlPath, attachmentCopy}).outLines();
}
