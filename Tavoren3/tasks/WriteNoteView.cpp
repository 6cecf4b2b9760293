#include "tasks/WriteNoteView.h"

#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"

WriteNoteView::WriteNoteView(VerkeersLeiding &manager, QObject *parent) : QObject(parent), m_manager(manager) {}

void WriteNoteView::setNote(const QString &note)
{
    if (m_note == note)
        return;
    m_note = note;
    m_manager.setNote(note);
    emit noteChanged();
}

bool WriteNoteView::addNote()
{
    const QString trimmed = m_note.trimmed();
    if (trimmed.isEmpty())
        return false;
    m_manager.log(LogTime::logTimestamp() + QLatin1Char('\t') + trimmed);
    setNote(QString());
    return true;
}
