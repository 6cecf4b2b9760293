// tavoren-cli: protocol files from the command line.
//   tavoren-cli convert IN.json [OUT.json]   rewrite a protocol with the current keys
//   tavoren-cli list DOCUMENTS_DIR           the protocol files in a documents folder
//   tavoren-cli dry-run PROTOCOL.json --ppid N [--documents DIR] [--untimed S]
//                                            run a protocol on a virtual clock

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/WholeFile.h"
#include "model/CurrentProtocol.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"
#include "run/DryRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

namespace {

constexpr int usageStatus = 64;
constexpr int ioStatus = 1;
constexpr int decodeStatus = 2;

void error(const QString &text)
{
    std::fprintf(stderr, "tavoren-cli: %s\n", text.toUtf8().constData());
}

int usage()
{
    std::fputs("usage: tavoren-cli convert IN.json [OUT.json]\n"
               "       tavoren-cli list DOCUMENTS_DIR\n"
               "       tavoren-cli dry-run PROTOCOL.json --ppid N [--documents DIR] [--untimed S]\n",
               stderr);
    return usageStatus;
}

int convert(const QStringList &args)
{
    if (args.isEmpty() || args.size() > 2)
        return usage();
    QFile in(args.at(0));
    if (!in.open(QIODevice::ReadOnly)) {
        error(args.at(0) + QStringLiteral(": ") + in.errorString());
        return ioStatus;
    }
    const ProtocolReader::Result result = ProtocolReader::decode(in.readAll());
    if (!result.run) {
        error(args.at(0) + QStringLiteral(": does not decode: ") + result.error->description());
        return decodeStatus;
    }
    const QByteArray bytes = ProtocolWriter::encode(*result.run);
    if (args.size() == 1) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fputc('\n', stdout);
        return 0;
    }
    QString reason;
    if (!WholeFile::write(args.at(1), bytes, &reason)) {
        error(args.at(1) + QStringLiteral(": ") + reason);
        return ioStatus;
    }
    return 0;
}

int list(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    if (!QFileInfo(args.at(0)).isDir()) {
        error(args.at(0) + QStringLiteral(": not a folder"));
        return ioStatus;
    }
    DocumentsFolder::setOverride(args.at(0));
    CurrentProtocol current;
    ProtocolLibrary library(current);
    library.listProtocols();
    for (const QString &file : library.configFiles())
        std::printf("%s\n", file.toUtf8().constData());
    return 0;
}

int dryRun(QStringList args)
{
    if (args.isEmpty())
        return usage();
    const QString protocolPath = args.takeFirst();
    DryRun::Options options;
    std::optional<QString> documents;
    while (args.size() >= 2) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        bool ok = true;
        if (option == QLatin1String("--ppid"))
            options.participantId = value;
        else if (option == QLatin1String("--documents"))
            documents = value;
        else if (option == QLatin1String("--untimed"))
            options.untimedSeconds = value.toLongLong(&ok);
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (!args.isEmpty() || options.participantId.isEmpty())
        return usage();
    if (documents) {
        if (!QFileInfo(*documents).isDir()) {
            error(*documents + QStringLiteral(": not a folder"));
            return ioStatus;
        }
        DocumentsFolder::setOverride(QFileInfo(*documents).absoluteFilePath());
    }
    QFile in(protocolPath);
    if (!in.open(QIODevice::ReadOnly)) {
        error(protocolPath + QStringLiteral(": ") + in.errorString());
        return ioStatus;
    }
    options.protocol = in.readAll();
    const DryRun::Outcome outcome = DryRun::run(options, [](const QString &payload) {
        std::printf("state: %s\n", payload.toUtf8().constData());
    });
    if (!outcome.error.isEmpty()) {
        error(protocolPath + QStringLiteral(": ") + outcome.error);
        return decodeStatus;
    }
    if (!outcome.labelFilePath) {
        error(QStringLiteral("no documents folder"));
        return ioStatus;
    }
    std::printf("%s\n", outcome.labelFilePath->toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Console::useStandardError();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("convert"))
        return convert(args);
    if (command == QLatin1String("list"))
        return list(args);
    if (command == QLatin1String("dry-run"))
        return dryRun(args);
    return usage();
}
