#include "run/InterruptedRun.h"

#include "model/ProtocolLibrary.h"
#include "model/ProtocolReader.h"
#include "run/LabelFileWriter.h"
#include "run/LabelLog.h"

#include <QFile>
#include <QFileInfo>

InterruptedRun::InterruptedRun(RunRecord record) : m_record(std::move(record))
{
    const auto labelFile = m_record.labelFilePath();
    const auto protocolFile = RunRecord::protocolFilePath(m_record.protocolFile);
    if (!labelFile || !QFileInfo::exists(*labelFile)) {
        m_reason = QStringLiteral("Its label file %1 is no longer there.")
                       .arg(m_record.labelFileBaseName() + QStringLiteral(".lbl"));
        return;
    }
    if (!protocolFile || !QFileInfo::exists(*protocolFile)) {
        m_reason = QStringLiteral("Its protocol file %1 is no longer there.").arg(m_record.protocolFile);
        return;
    }
    m_protocolChanged = RunRecord::protocolFileHash(m_record.protocolFile) != m_record.protocolHash;
    if (!m_protocolChanged)
        return;
    QFile file(*protocolFile);
    const auto run = file.open(QIODevice::ReadOnly) ? ProtocolReader::decode(file.readAll()).run : nullptr;
    if (!run)
        m_reason = QStringLiteral("Its protocol file %1 has changed and can no longer be read.").arg(m_record.protocolFile);
    else if (m_record.step >= run->stepCount())
        m_reason = QStringLiteral("Its protocol file %1 has changed and no longer has step %2.")
                       .arg(m_record.protocolFile)
                       .arg(m_record.step + 1);
}

std::optional<InterruptedRun> InterruptedRun::find()
{
    if (auto record = RunRecord::load())
        return InterruptedRun(std::move(*record));
    return std::nullopt;
}

QString InterruptedRun::protocolName() const
{
    return QFileInfo(m_record.protocolFile).completeBaseName();
}

QString InterruptedRun::offerText() const
{
    return QStringLiteral("The run of participant %1 (%2) was interrupted in step %3 \"%4\" of %5, at about %6.")
        .arg(m_record.ppid, protocolName())
        .arg(m_record.step + 1)
        .arg(m_record.stepLabel)
        .arg(m_record.stepCount)
        .arg(m_record.lastAliveText());
}

void InterruptedRun::close() const
{
    const auto labelFile = m_record.labelFilePath();
    if (labelFile && QFileInfo::exists(*labelFile)) {
        const QString fileName = m_record.labelFileBaseName() + QStringLiteral(".lbl");
        const QString folder = LabelLog::labelFolderText(m_record.folderText);
        for (const QString &line : m_record.closingLines())
            LabelFileWriter::writeLabelFileLine(fileName, folder, line);
    }
    RunRecord::remove();
}

std::optional<QString> InterruptedRun::labelFileText() const
{
    QFile file(m_record.labelFilePath().value_or(QString()));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll());
}
