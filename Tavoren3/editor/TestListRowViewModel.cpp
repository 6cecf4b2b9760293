#include "editor/TestListRowViewModel.h"

TestListRowViewModel::TestListRowViewModel(int index, Action onSelect, Action onDuplicate, QObject *parent)
    : QObject(parent), m_index(index), m_onSelect(std::move(onSelect)), m_onDuplicate(std::move(onDuplicate))
{
}

void TestListRowViewModel::setTest(const DeelTestje &test)
{
    const bool renamed = m_test.name != test.name;
    m_test = test;
    if (renamed)
        emit textChanged();
}

QString TestListRowViewModel::text() const
{
    return QString::number(m_index + 1) + QStringLiteral(". ") + m_test.name;
}

void TestListRowViewModel::setIsSelected(bool selected)
{
    if (m_isSelected == selected)
        return;
    m_isSelected = selected;
    emit isSelectedChanged();
}

void TestListRowViewModel::setIsEditing(bool editing)
{
    if (m_isEditing == editing)
        return;
    m_isEditing = editing;
    emit isEditingChanged();
}

void TestListRowViewModel::select()
{
    m_onSelect();
}

void TestListRowViewModel::duplicate()
{
    if (m_isEditing)
        m_onDuplicate();
}
