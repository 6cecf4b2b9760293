#include "run/RunRecord.h"

#include "common/DocumentsFolder.h"
#include "common/WholeFile.h"
#include "model/ProtocolLibrary.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"
#include "run/LogTime.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {
std::string text(const QString &value) { return value.toStdString(); }

QString field(const Json &json, const char *name)
{
    return QString::fromStdString(json.at(name).get<std::string>());
}
}

QString RunRecord::labelFileBaseName() const
{
    return folderText + QLatin1Char('_') + ppid + QStringLiteral("_1_") + runTimestamp;
}

std::optional<QString> RunRecord::labelFilePath() const
{
    return LabelFileWriter::labelFilePath(labelFileBaseName() + QStringLiteral(".lbl"),
                                          LabelLog::labelFolderText(folderText));
}

QString RunRecord::lastAliveText() const
{
    return QLocale::c().toString(lastAlive, QStringLiteral("HH:mm:ss"));
}

QStringList RunRecord::gapLines() const
{
    const QString at = LogTime::logTimestamp(lastAlive);
    const QString tag = stepLabel + QStringLiteral(" (") + stepId + QStringLiteral(") ");
    QStringList lines;
    if (!paused)
        lines << stepBegan + QLatin1Char('\t') + tag + QStringLiteral("started")
              << at + QLatin1Char('\t') + tag + QStringLiteral("paused ");
    lines << at + QStringLiteral("\tThe timekeeper stopped unexpectedly at about ") + lastAliveText()
            + QStringLiteral("; the run was paused until it was taken up again.");
    return lines;
}

QStringList RunRecord::closingLines() const
{
    const QString tag = stepLabel + QStringLiteral(" (") + stepId + QStringLiteral(") ");
    return gapLines() << stepBegan + QLatin1Char('\t') + tag + QStringLiteral("started")
                      << LogTime::logTimestamp(lastAlive) + QLatin1Char('\t') + tag + QStringLiteral("stopped ");
}

QByteArray RunRecord::toJson() const
{
    const Json json{{"protocolFile", text(protocolFile)},
                    {"protocolHash", text(protocolHash)},
                    {"ppid", text(ppid)},
                    {"folderText", text(folderText)},
                    {"runTimestamp", text(runTimestamp)},
                    {"step", step},
                    {"stepCount", stepCount},
                    {"stepLabel", text(stepLabel)},
                    {"stepId", text(stepId)},
                    {"secondsLeft", secondsLeft},
                    {"paused", paused},
                    {"stepBegan", text(stepBegan)},
                    {"lastAlive", text(lastAlive.toString(Qt::ISODateWithMs))}};
    return QByteArray::fromStdString(json.dump(1)) + '\n';
}

std::optional<RunRecord> RunRecord::fromJson(const QByteArray &bytes)
{
    const Json json = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (!json.is_object())
        return std::nullopt;
    try {
        RunRecord record;
        record.protocolFile = field(json, "protocolFile");
        record.protocolHash = field(json, "protocolHash");
        record.ppid = field(json, "ppid");
        record.folderText = field(json, "folderText");
        record.runTimestamp = field(json, "runTimestamp");
        record.step = json.at("step").get<int>();
        record.stepCount = json.at("stepCount").get<int>();
        record.stepLabel = field(json, "stepLabel");
        record.stepId = field(json, "stepId");
        record.secondsLeft = json.at("secondsLeft").get<qint64>();
        record.paused = json.at("paused").get<bool>();
        record.stepBegan = field(json, "stepBegan");
        record.lastAlive = QDateTime::fromString(field(json, "lastAlive"), Qt::ISODateWithMs);
        if (!record.lastAlive.isValid() || !LogTime::readLogTimestamp(record.stepBegan) || record.step < 0
            || record.step >= record.stepCount || record.protocolFile.isEmpty())
            return std::nullopt;
        return record;
    } catch (const Json::exception &) {
        return std::nullopt;
    }
}

std::optional<QString> RunRecord::filePath(const char *suffix)
{
    const auto documents = DocumentsFolder::path();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!documents || data.isEmpty())
        return std::nullopt;
    const QByteArray key = QCryptographicHash::hash(QFileInfo(*documents).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(16);
    QDir().mkpath(data);
    return QDir(data).filePath(QStringLiteral("run-") + QString::fromLatin1(key) + QString::fromLatin1(suffix));
}

std::optional<RunRecord> RunRecord::load()
{
    const auto path = filePath();
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromJson(file.readAll());
}

bool RunRecord::save() const
{
    const auto path = filePath();
    return path && WholeFile::write(*path, toJson(), nullptr);
}

void RunRecord::remove()
{
    if (const auto path = filePath())
        QFile::remove(*path);
}

QString RunRecord::hashOf(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

std::optional<QString> RunRecord::protocolFilePath(const QString &fileName)
{
    const auto folder = ProtocolLibrary::protocolFolder();
    if (!folder)
        return std::nullopt;
    return QDir(*folder).filePath(fileName);
}

QString RunRecord::protocolFileHash(const QString &fileName)
{
    const auto path = protocolFilePath(fileName);
    QFile file(path.value_or(QString()));
    if (!path || !file.open(QIODevice::ReadOnly))
        return QString();
    return hashOf(file.readAll());
}
