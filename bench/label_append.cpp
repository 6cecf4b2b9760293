// Appending label lines with the one label-file writer, each line synced to
// the disk before the call returns.
//
//   bench_label_append [--lines N] [--dir DIR]   (DIR: where the documents folder goes)

#include "Samples.h"

#include "common/Console.h"
#include "common/DocumentsFolder.h"
#include "run/LabelFileWriter.h"
#include "run/LogTime.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption linesOption(QStringLiteral("lines"), QStringLiteral("Lines to append."),
                                         QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption dirOption(QStringLiteral("dir"), QStringLiteral("Folder for the documents folder."),
                                       QStringLiteral("DIR"), QDir::tempPath());
    parser.addOptions({linesOption, dirOption});
    parser.process(app);
    Console::useStandardError();

    QTemporaryDir documents(QDir(parser.value(dirOption)).filePath(QStringLiteral("bench-label-XXXXXX")));
    DocumentsFolder::setOverride(documents.path());
    const QString file = QStringLiteral("Benchmark_1_1_20261206_123400.lbl");
    const QString folder = QStringLiteral("Benchmark");

    QElapsedTimer timer;
    timer.start();
    if (!LabelFileWriter::writeLabelFileLine(file, folder, QStringLiteral("# StartTime\tLabel"))) {
        QTextStream(stdout) << "the label file could not be created in " << documents.path() << "\n";
        return 1;
    }
    const double createUs = double(timer.nsecsElapsed()) / 1000.0;

    Samples appends;
    const int lines = std::max(1, parser.value(linesOption).toInt());
    for (int i = 0; i < lines; ++i) {
        const QString line = LogTime::logTimestamp() + QStringLiteral("\tstep%1 (%1) ended ").arg(i);
        timer.restart();
        if (!LabelFileWriter::writeLabelFileLine(file, folder, line)) {
            QTextStream(stdout) << "line " << i << " did not reach the disk\n";
            return 1;
        }
        appends.add(double(timer.nsecsElapsed()) / 1000.0);
    }
    QTextStream(stdout) << "creating the file with its first line: " << QString::number(createUs / 1000.0, 'f', 3)
                        << " ms\n"
                        << appends.summary(QStringLiteral("append with fsync")) << "\n"
                        << "in " << documents.path() << "\n";
    return 0;
}
