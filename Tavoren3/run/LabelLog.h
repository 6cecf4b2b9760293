#pragma once

#include <QObject>
#include <QString>

// The label log of one run: every line in memory (LabelLogString) and, at
// once, in the run's label file.
class LabelLog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LabelLogString READ LabelLogString NOTIFY LabelLogStringChanged)

public:
    explicit LabelLog(QObject *parent = nullptr);

    QString LabelLogString() const { return m_text; }
    void clear();
    // Takes up the lines of a file written before, without writing them again.
    void restore(const QString &text);

    // Keeps the line and appends it to fileBaseName + ".lbl" in the folder
    // that folderText names; returns whether the line reached the file.
    bool appendLogLine(const QString &fileBaseName, const QString &line, const QString &folderText);

    // The folder text with spaces, slashes, backslashes, commas, line ends and full stops removed.
    static QString labelFolderText(const QString &folderText);

signals:
    void LabelLogStringChanged();
    // A line is kept here but did not reach its file: the file, and why.
    void writeFailed(const QString &path, const QString &reason);

private:
    QString m_text;
};
