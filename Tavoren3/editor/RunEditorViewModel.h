#pragma once

#include "editor/StepViewModel.h"
#include "editor/TestListRowViewModel.h"
#include "model/Run.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QQmlListProperty>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>
#include <optional>

class ContentViewModel;
class ProtocolLibrary;
class VerkeersLeiding;

// The protocol editor: the protocol's fields, its list of steps with the
// selected step's detail, and the unsaved-changes, save and delete rules.
// It is open while the start screen's isTestEditing is true.
class RunEditorViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(Run *run READ run CONSTANT)
    Q_PROPERTY(StepViewModel *step READ step CONSTANT)
    Q_PROPERTY(QQmlListProperty<TestListRowViewModel> rows READ rowList NOTIFY rowsChanged)
    Q_PROPERTY(QString researchDescription READ researchDescription WRITE setResearchDescription NOTIFY
                   researchDescriptionChanged)
    Q_PROPERTY(bool isTestEditing READ isTestEditing WRITE setIsTestEditing NOTIFY isTestEditingChanged)
    Q_PROPERTY(QString originalFileName READ originalFileNameText NOTIFY originalFileNameChanged)
    Q_PROPERTY(QUuid selectedTestID READ selectedTestID WRITE setSelectedTestID NOTIFY selectedTestIDChanged)
    Q_PROPERTY(bool isEditing READ isEditing WRITE setIsEditing NOTIFY isEditingChanged)
    Q_PROPERTY(QString editButtonText READ editButtonText NOTIFY isEditingChanged)
    Q_PROPERTY(QVariantMap duplicateIDs READ duplicateIDsMap NOTIFY duplicateIDsChanged)
    Q_PROPERTY(bool duplicatesDetected READ duplicatesDetected NOTIFY duplicateIDsChanged)
    Q_PROPERTY(QString duplicateIDsText READ duplicateIDsText NOTIFY duplicateIDsChanged)
    // The numeric ids a trigger box cannot send; empty when it can send them all.
    Q_PROPERTY(QString markerCodesText READ markerCodesText NOTIFY markerCodesTextChanged)
    Q_PROPERTY(bool showDeleteAlert READ showDeleteAlert NOTIFY showDeleteAlertChanged)
    Q_PROPERTY(bool showUnsavedChangesAlert READ showUnsavedChangesAlert NOTIFY showUnsavedChangesAlertChanged)
    Q_PROPERTY(bool hasUnsavedChanges READ hasUnsavedChanges NOTIFY hasUnsavedChangesChanged)
    Q_PROPERTY(bool isInitialLoad READ isInitialLoad NOTIFY isInitialLoadChanged)
    Q_PROPERTY(QVariant pendingExitAction READ pendingExitActionValue NOTIFY showUnsavedChangesAlertChanged)
    Q_PROPERTY(Qt::ApplicationState scenePhase READ scenePhase WRITE setScenePhase NOTIFY scenePhaseChanged)
    Q_PROPERTY(QString saveError READ saveError NOTIFY saveErrorChanged)
    Q_PROPERTY(QString unsavedChangesTitle READ unsavedChangesTitle CONSTANT)
    Q_PROPERTY(QString unsavedChangesMessage READ unsavedChangesMessage CONSTANT)
    Q_PROPERTY(QString deleteAlertTitle READ deleteAlertTitle CONSTANT)
    Q_PROPERTY(QString deleteAlertMessage READ deleteAlertMessage CONSTANT)

public:
    // Why the unsaved-changes question was asked.
    enum class PendingExitAction { cancel, appDeactivation };
    Q_ENUM(PendingExitAction)

    RunEditorViewModel(ContentViewModel &content, ProtocolLibrary &library, VerkeersLeiding &manager,
                       QObject *parent = nullptr);

    Run *run() const { return &m_run; }
    StepViewModel *step() { return &m_step; }
    const QList<TestListRowViewModel *> &rows() const { return m_rows; }
    QQmlListProperty<TestListRowViewModel> rowList() { return {this, &m_rows}; }

    // The description as a text field shows it: empty when absent.
    QString researchDescription() const;
    void setResearchDescription(const QString &description);

    bool isTestEditing() const;
    void setIsTestEditing(bool editing);
    // The file the protocol was loaded from; none for a new protocol.
    std::optional<QString> originalFileName() const;
    QString originalFileNameText() const { return originalFileName().value_or(QString()); }

    // A null identity when no step is selected.
    QUuid selectedTestID() const { return m_selectedTestID; }
    void setSelectedTestID(const QUuid &id);
    bool isEditing() const { return m_isEditing; }
    void setIsEditing(bool editing);
    // "Edit" or "Done".
    QString editButtonText() const;

    // Numbers that several steps carry, with the row text ("2. Rest") of each.
    QMap<qint64, QStringList> duplicateIDs() const { return m_duplicateIDs; }
    QVariantMap duplicateIDsMap() const;
    bool duplicatesDetected() const { return !m_duplicateIDs.isEmpty(); }
    // One line per shared number ("2: 2. Rest, 3. Rest (Copy)"), empty when none.
    QString duplicateIDsText() const;
    // The ids a trigger box cannot send, while markers are in use.
    QString markerCodesText() const;
    void setMarkersInUse(bool inUse);

    bool showDeleteAlert() const { return m_showDeleteAlert; }
    bool showUnsavedChangesAlert() const { return m_showUnsavedChangesAlert; }
    bool hasUnsavedChanges() const { return m_hasUnsavedChanges; }
    bool isInitialLoad() const { return m_isInitialLoad; }
    std::optional<PendingExitAction> pendingExitAction() const { return m_pendingExitAction; }
    QVariant pendingExitActionValue() const;
    Qt::ApplicationState scenePhase() const { return m_scenePhase; }
    // Leaving the foreground with unsaved changes asks the question.
    void setScenePhase(Qt::ApplicationState phase);
    // Why the last save was refused; empty after a save that went through.
    QString saveError() const { return m_saveError; }

    static QString unsavedChangesTitle();
    static QString unsavedChangesMessage();
    static QString deleteAlertTitle();
    static QString deleteAlertMessage();

    // "New step": after the selected step, or at the end.
    Q_INVOKABLE void newStep();
    Q_INVOKABLE void duplicateStep(int index);
    // Removes the steps at these positions at once; a removed selection is cleared.
    Q_INVOKABLE void deleteSteps(const QList<int> &positions);

    // The toolbar's "Save", "Cancel" and "Delete research".
    Q_INVOKABLE void save();
    Q_INVOKABLE void cancel();
    Q_INVOKABLE void requestDelete();
    // "Delete anyway" and "Cancel" of the delete question.
    Q_INVOKABLE void confirmDelete();
    Q_INVOKABLE void cancelDelete();
    // The buttons of the unsaved-changes question.
    Q_INVOKABLE void answerSave();
    Q_INVOKABLE void answerProceedWithoutSaving();
    Q_INVOKABLE void answerCancel();

signals:
    void rowsChanged();
    void researchDescriptionChanged();
    void isTestEditingChanged();
    void originalFileNameChanged();
    void selectedTestIDChanged();
    void isEditingChanged();
    void duplicateIDsChanged();
    void markerCodesTextChanged();
    void showDeleteAlertChanged();
    void showUnsavedChangesAlertChanged();
    void hasUnsavedChangesChanged();
    void isInitialLoadChanged();
    void scenePhaseChanged();
    void saveErrorChanged();

private:
    void opened();
    void closed();
    void close();
    void documentChanged();
    void stepsChanged();
    void syncRows();
    void findDuplicateIDs();
    qsizetype selectedIndex() const;
    void insertStep(qsizetype index, const DeelTestje &step);
    // Saves through the library; false when refused or failed (see saveError).
    bool saveProtocol();
    void setSaveError(const QString &error);
    void setHasUnsavedChanges(bool changed);
    void setIsInitialLoad(bool initialLoad);
    void askAboutUnsavedChanges(PendingExitAction action);
    void closeUnsavedChangesQuestion();
    void setShowDeleteAlert(bool show);

    ContentViewModel &m_content;
    ProtocolLibrary &m_library;
    VerkeersLeiding &m_manager;
    Run &m_run;
    StepViewModel m_step;
    QList<TestListRowViewModel *> m_rows;
    QUuid m_selectedTestID;
    bool m_isEditing = false;
    QMap<qint64, QStringList> m_duplicateIDs;
    bool m_markersInUse = false;
    bool m_showDeleteAlert = false;
    bool m_showUnsavedChangesAlert = false;
    bool m_hasUnsavedChanges = false;
    bool m_isInitialLoad = true;
    std::optional<PendingExitAction> m_pendingExitAction;
    Qt::ApplicationState m_scenePhase = Qt::ApplicationActive;
    QString m_saveError;
};
