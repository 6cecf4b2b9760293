#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class VerkeersLeiding;

// A free-text note, stamped with the time and added to the label file.
class WriteNoteView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(WriteNoteViewModel)
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString note READ note WRITE setNote NOTIFY noteChanged)

public:
    explicit WriteNoteView(VerkeersLeiding &manager, QObject *parent = nullptr);

    QString note() const { return m_note; }
    // Every change of the field is copied into the controller's note.
    void setNote(const QString &note);
    // "Add note": a note of only blanks writes nothing and keeps the field.
    Q_INVOKABLE bool addNote();

signals:
    void noteChanged();

private:
    VerkeersLeiding &m_manager;
    QString m_note;
};
