// Reading a large protocol file with the product's reader.
//
//   bench_protocol_load [--steps N] [--repeat R]

#include "Samples.h"
#include "SyntheticProtocol.h"

#include "common/Console.h"
#include "model/ProtocolReader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption stepsOption(QStringLiteral("steps"), QStringLiteral("Steps in the protocol."),
                                         QStringLiteral("N"), QStringLiteral("5000"));
    const QCommandLineOption repeatOption(QStringLiteral("repeat"), QStringLiteral("Loads to time."),
                                          QStringLiteral("R"), QStringLiteral("20"));
    parser.addOptions({stepsOption, repeatOption});
    parser.process(app);
    Console::useStandardError();

    const int steps = std::max(1, parser.value(stepsOption).toInt());
    QTemporaryFile file;
    if (!file.open() || file.write(SyntheticProtocol::json(steps, 60, false)) < 0 || !file.flush()) {
        QTextStream(stdout) << "the protocol file could not be written\n";
        return 1;
    }

    Samples loads;
    qsizetype decodedSteps = 0;
    for (int i = 0; i < std::max(1, parser.value(repeatOption).toInt()); ++i) {
        QElapsedTimer timer;
        timer.start();
        QFile in(file.fileName());
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        const ProtocolReader::Result result = ProtocolReader::decode(in.readAll());
        loads.add(double(timer.nsecsElapsed()) / 1000.0);
        if (!result.run) {
            QTextStream(stdout) << "the protocol did not decode: " << result.error->description() << "\n";
            return 1;
        }
        decodedSteps = result.run->steps().size();
    }
    QTextStream(stdout) << "protocol of " << decodedSteps << " steps, " << QFileInfo(file).size() << " bytes\n"
                        << loads.summary(QStringLiteral("read and decode")) << "\n";
    return 0;
}
