#include "run/LabelLog.h"

#include "run/LabelFileWriter.h"

LabelLog::LabelLog(QObject *parent) : QObject(parent) {}

void LabelLog::clear()
{
    if (m_text.isEmpty())
        return;
    m_text.clear();
    emit LabelLogStringChanged();
}

void LabelLog::restore(const QString &text)
{
    m_text = text;
    emit LabelLogStringChanged();
}

QString LabelLog::labelFolderText(const QString &folderText)
{
    QString folder = folderText;
    for (const QChar c : {QChar(' '), QChar('\\'), QChar('/'), QChar(','), QChar('\n'), QChar('\r'), QChar('.')})
        folder.remove(c);
    return folder;
}

bool LabelLog::appendLogLine(const QString &fileBaseName, const QString &line, const QString &folderText)
{
    m_text += line + QLatin1Char('\n');
    emit LabelLogStringChanged();
    const QString fileName = fileBaseName + QStringLiteral(".lbl");
    const QString folder = labelFolderText(folderText);
    QString failure;
    if (LabelFileWriter::writeLabelFileLine(fileName, folder, line, &failure))
        return true;
    emit writeFailed(LabelFileWriter::labelFilePath(fileName, folder).value_or(fileName), failure);
    return false;
}
