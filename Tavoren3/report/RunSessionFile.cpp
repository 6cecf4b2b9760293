#include "report/RunSessionFile.h"

#include "report/BidsDataset.h"
#include "run/LabelFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString RunSessionFile::scoreFileOf(const QString &labelFile)
{
    const QFileInfo info(labelFile);
    const auto name = BidsDataset::runName(info.fileName());
    return name ? info.dir().filePath(QStringLiteral("timelabelsPPID_") + name->participant + QStringLiteral(".lbl"))
                : QString();
}

QString RunSessionFile::eventLogOf(const QString &labelFile)
{
    QDir dir = QFileInfo(labelFile).absoluteDir();
    if (QFileInfo(dir.absolutePath()).dir().dirName() == QLatin1String("Label_files"))
        dir.cd(QStringLiteral("../.."));
    return dir.filePath(QStringLiteral("log.lbl"));
}

std::optional<LabelSession> RunSessionFile::read(const QString &labelFile, QString *reason)
{
    auto session = LabelFileReader::readFile(labelFile, reason);
    const QString scores = scoreFileOf(labelFile);
    QFile file(scores);
    if (session && !scores.isEmpty() && file.open(QIODevice::ReadOnly))
        LabelFileReader::addTaskLines(*session, file.readAll());
    return session;
}
