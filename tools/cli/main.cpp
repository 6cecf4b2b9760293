// tavoren-cli: protocol files from the command line.
//   tavoren-cli convert IN.json [OUT.json]   rewrite a protocol with the current keys
//   tavoren-cli list DOCUMENTS_DIR           the protocol files in a documents folder
//   tavoren-cli dry-run PROTOCOL.json --ppid N [--documents DIR] [--untimed S] [--end-code C]
//                                            run a protocol on a virtual clock
//   tavoren-cli timeline LABELFILE -o OUT.svg|OUT.png [--width W]
//                                            the session of a label file as a picture
//   tavoren-cli bids LABELFILE... --out DATASET [--author NAME]... [--event-log FILE]
//                                            add label files to a BIDS dataset

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "common/WholeFile.h"
#include "markers/MarkerPlan.h"
#include "model/CurrentProtocol.h"
#include "model/MarkerCodes.h"
#include "model/ProtocolLibrary.h"
#include "model/ProtocolReader.h"
#include "model/ProtocolWriter.h"
#include "report/BidsDataset.h"
#include "report/RunSessionFile.h"
#include "report/TimelinePicture.h"
#include "run/DryRun.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>
#include <memory>
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
               "       tavoren-cli dry-run PROTOCOL.json --ppid N [--documents DIR] [--untimed S] [--end-code C]\n"
               "       tavoren-cli timeline LABELFILE -o OUT.svg|OUT.png [--width W]\n"
               "       tavoren-cli bids LABELFILE... --out DATASET [--author NAME]... [--event-log FILE]\n",
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
    int endCode = 0;
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
        else if (option == QLatin1String("--end-code"))
            endCode = value.toInt(&ok);
        else
            return usage();
        if (!ok)
            return usage();
    }
    if (!args.isEmpty() || options.participantId.isEmpty() || endCode < 0 || endCode > MarkerCodes::highest)
        return usage();
    // The codes a trigger box would be sent, as the run sends them.
    options.watch = [endCode](VerkeersLeiding &controller) {
        QObject::connect(&controller, &VerkeersLeiding::boundary, [&controller, endCode](auto kind, int stepIndex) {
            const auto marker = MarkerPlan::of(kind, stepIndex, *controller.protocol().currentProtocol(), endCode);
            if (marker && MarkerCodes::sendable(marker->code))
                std::printf("marker: %lld\n", static_cast<long long>(marker->code));
        });
    };
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

// The picture drawn into an SVG or PNG file, written whole.
std::optional<QByteArray> drawn(const TimelinePicture &picture, int width, const QString &format)
{
    const int height = int(std::ceil(picture.heightFor(width)));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setTitle(QStringLiteral("Session timeline"));
        QPainter painter(&svg);
        picture.paint(painter, width);
    } else if (format == QLatin1String("png")) {
        QImage image(QSize(width, height) * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            picture.paint(painter, width);
        }
        image.save(&buffer, "PNG");
    } else {
        return std::nullopt;
    }
    return buffer.data();
}

int timeline(QStringList args)
{
    if (args.isEmpty())
        return usage();
    const QString labelFile = args.takeFirst();
    QString out;
    int width = 1000;
    while (args.size() >= 2) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        bool ok = true;
        if (option == QLatin1String("-o"))
            out = value;
        else if (option == QLatin1String("--width"))
            width = value.toInt(&ok);
        else
            return usage();
        if (!ok || width < 200 || width > 20000)
            return usage();
    }
    if (!args.isEmpty() || out.isEmpty())
        return usage();
    QString reason;
    const auto session = RunSessionFile::read(labelFile, &reason);
    if (!session) {
        error(labelFile + QStringLiteral(": ") + reason);
        return ioStatus;
    }
    if (!session->origin) {
        error(labelFile + QStringLiteral(": not a label file: none of its lines begins with a time"));
        return decodeStatus;
    }
    if (session->error)
        error(labelFile + QStringLiteral(": ") + session->error->message + QStringLiteral("; drawn up to there"));
    const auto bytes = drawn(TimelinePicture(*session), width, QFileInfo(out).suffix().toLower());
    if (!bytes) {
        error(out + QStringLiteral(": give a name ending in .svg or .png"));
        return usageStatus;
    }
    if (!WholeFile::write(out, *bytes, &reason)) {
        error(out + QStringLiteral(": ") + reason);
        return ioStatus;
    }
    return 0;
}

int bids(QStringList args)
{
    QStringList labelFiles;
    QStringList authors;
    QString out;
    QString eventLog;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--out") || arg == QLatin1String("--author") || arg == QLatin1String("--event-log")) {
            if (args.isEmpty())
                return usage();
            if (arg == QLatin1String("--out"))
                out = args.takeFirst();
            else if (arg == QLatin1String("--event-log"))
                eventLog = args.takeFirst();
            else
                authors.append(args.takeFirst());
        } else {
            labelFiles.append(arg);
        }
    }
    if (labelFiles.isEmpty() || out.isEmpty())
        return usage();
    const bool described = QFileInfo::exists(QDir(out).filePath(QStringLiteral("dataset_description.json")));
    BidsDataset dataset(out, authors);
    int status = 0;
    QStringList printed; // each events file once, also when a later file renumbers it
    for (const QString &labelFile : labelFiles) {
        const BidsDataset::Added added = dataset.add(labelFile, eventLog);
        for (const QString &warning : added.warnings)
            error(warning);
        if (!added.error.isEmpty()) {
            error(added.error);
            status = decodeStatus;
            continue;
        }
        for (const QString &events : added.renumbered + QStringList{added.eventsFile}) {
            const QString file = QDir(out).filePath(events);
            if (printed.contains(file))
                continue;
            printed.append(file);
            std::printf("%s\n", file.toUtf8().constData());
        }
    }
    if (!described && authors.isEmpty() && QFileInfo::exists(QDir(out).filePath(QStringLiteral("dataset_description.json"))))
        error(QStringLiteral("dataset_description.json has no Authors: add them there, or pass --author NAME"));
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs fonts, and so a GUI application; it needs no screen.
    const bool drawing = argc > 1 && qstrcmp(argv[1], "timeline") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        drawing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    Console::useStandardError();
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("convert"))
        return convert(args);
    if (command == QLatin1String("list"))
        return list(args);
    if (command == QLatin1String("dry-run"))
        return dryRun(args);
    if (command == QLatin1String("timeline"))
        return timeline(args);
    if (command == QLatin1String("bids"))
        return bids(args);
    return usage();
}
