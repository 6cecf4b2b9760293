#pragma once

#include "model/DeelTestje.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <functional>

// One step in the editor's list: its number and name, whether it is the
// selected one, and the duplicate button while the list is being edited.
class TestListRowViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by RunEditorViewModel for each step.")
    Q_PROPERTY(QString text READ text NOTIFY textChanged)
    Q_PROPERTY(int index READ index CONSTANT)
    Q_PROPERTY(bool isSelected READ isSelected NOTIFY isSelectedChanged)
    Q_PROPERTY(bool isEditing READ isEditing NOTIFY isEditingChanged)

public:
    using Action = std::function<void()>;

    TestListRowViewModel(int index, Action onSelect, Action onDuplicate, QObject *parent = nullptr);

    const DeelTestje &test() const { return m_test; }
    void setTest(const DeelTestje &test);
    int index() const { return m_index; }
    // index + 1, ". " and the step's name.
    QString text() const;
    bool isSelected() const { return m_isSelected; }
    void setIsSelected(bool selected);
    // The duplicate button shows exactly while this is true.
    bool isEditing() const { return m_isEditing; }
    void setIsEditing(bool editing);

    Q_INVOKABLE void select();
    Q_INVOKABLE void duplicate();

signals:
    void textChanged();
    void isSelectedChanged();
    void isEditingChanged();

private:
    DeelTestje m_test;
    int m_index;
    Action m_onSelect;
    Action m_onDuplicate;
    bool m_isSelected = false;
    bool m_isEditing = false;
};
