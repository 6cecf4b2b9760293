#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class ProtocolLibrary;
class VerkeersLeiding;

// The root view: the editor while editing, the start screen while no run
// is shown, otherwise the run screen.
class ContentViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(bool isPPidUnknown READ isPPidUnknown WRITE setIsPPidUnknown NOTIFY isPPidUnknownChanged)
    Q_PROPERTY(bool isTestEditing READ isTestEditing WRITE setIsTestEditing NOTIFY isTestEditingChanged)
    Q_PROPERTY(QString currentEditingFileName READ currentEditingFileName NOTIFY currentEditingFileNameChanged)

public:
    ContentViewModel(VerkeersLeiding &controller, MultipeerSession &session, ProtocolLibrary &library,
                     QObject *parent = nullptr);

    bool isPPidUnknown() const { return m_isPPidUnknown; }
    void setIsPPidUnknown(bool unknown);
    bool isTestEditing() const { return m_isTestEditing; }
    void setIsTestEditing(bool editing);
    // The start screen's selected protocol file; empty when none.
    QString currentEditingFileName() const;

    // The main screen appeared: invite drones automatically and be discoverable.
    Q_INVOKABLE void appeared();

signals:
    void isPPidUnknownChanged();
    void isTestEditingChanged();
    void currentEditingFileNameChanged();

private:
    void returnToHome();

    VerkeersLeiding &m_controller;
    MultipeerSession &m_session;
    ProtocolLibrary &m_library;
    bool m_isPPidUnknown = true;
    bool m_isTestEditing = false;
};
