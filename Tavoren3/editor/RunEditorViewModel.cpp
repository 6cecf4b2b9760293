#include "editor/RunEditorViewModel.h"

#include "editor/StepLabel.h"
#include "model/MarkerCodes.h"
#include "model/ProtocolLibrary.h"
#include "model/Run.h"
#include "run/ContentViewModel.h"
#include "run/VerkeersLeiding.h"

#include <QTimer>
#include <algorithm>

RunEditorViewModel::RunEditorViewModel(ContentViewModel &content, ProtocolLibrary &library,
                                       VerkeersLeiding &manager, QObject *parent)
    : QObject(parent),
      m_content(content),
      m_library(library),
      m_manager(manager),
      m_run(*manager.protocol().currentProtocol()),
      m_step(
          m_run, [this] { duplicateStep(int(selectedIndex())); },
          [this] { deleteSteps({int(selectedIndex())}); })
{
    connect(&m_run, &Run::changed, this, &RunEditorViewModel::documentChanged);
    connect(&m_run, &Run::changed, this, &RunEditorViewModel::markerCodesTextChanged);
    connect(&m_run, &Run::stepsChanged, this, &RunEditorViewModel::stepsChanged);
    connect(&m_run, &Run::researchDescriptionChanged, this, &RunEditorViewModel::researchDescriptionChanged);
    connect(&m_run, &Run::researchNameChanged, this, [this] { setSaveError(QString()); });
    connect(&m_run, &Run::versionChanged, this, [this] { setSaveError(QString()); });
    connect(&m_library, &ProtocolLibrary::selectedFileNameChanged, this,
            &RunEditorViewModel::originalFileNameChanged);
    connect(&m_content, &ContentViewModel::isTestEditingChanged, this, [this] {
        emit isTestEditingChanged();
        if (m_content.isTestEditing())
            opened();
        else
            closed();
    });
    stepsChanged();
    if (m_content.isTestEditing())
        opened();
}

QString RunEditorViewModel::researchDescription() const
{
    return m_run.researchDescription().value_or(QString());
}

void RunEditorViewModel::setResearchDescription(const QString &description)
{
    m_run.setResearchDescription(description);
}

bool RunEditorViewModel::isTestEditing() const
{
    return m_content.isTestEditing();
}

void RunEditorViewModel::setIsTestEditing(bool editing)
{
    m_content.setIsTestEditing(editing);
}

std::optional<QString> RunEditorViewModel::originalFileName() const
{
    const QString name = m_library.selectedFileName();
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

void RunEditorViewModel::opened()
{
    setIsInitialLoad(true);
    setHasUnsavedChanges(false);
    setSaveError(QString());
    const auto first = m_run.step(0);
    setSelectedTestID(first ? first->id : QUuid());
    // Changes count from the first turn of the event loop after opening.
    QTimer::singleShot(0, this, [this] {
        if (m_content.isTestEditing())
            setIsInitialLoad(false);
    });
}

void RunEditorViewModel::closed()
{
    setHasUnsavedChanges(false);
    closeUnsavedChangesQuestion();
    setShowDeleteAlert(false);
    setIsEditing(false);
    setSelectedTestID(QUuid());
}

void RunEditorViewModel::close()
{
    m_content.setIsTestEditing(false);
}

void RunEditorViewModel::documentChanged()
{
    if (!m_isInitialLoad && m_content.isTestEditing())
        setHasUnsavedChanges(true);
}

void RunEditorViewModel::stepsChanged()
{
    syncRows();
    findDuplicateIDs();
}

void RunEditorViewModel::syncRows()
{
    const qsizetype count = m_run.stepCount();
    const bool resized = m_rows.size() != count;
    while (m_rows.size() < count) {
        const int index = int(m_rows.size());
        m_rows.append(new TestListRowViewModel(
            index,
            [this, index] {
                if (const auto step = m_run.step(index))
                    setSelectedTestID(step->id);
            },
            [this, index] { duplicateStep(index); }, this));
    }
    while (m_rows.size() > count)
        m_rows.takeLast()->deleteLater();
    for (qsizetype i = 0; i < count; ++i) {
        TestListRowViewModel *row = m_rows.at(i);
        row->setTest(m_run.steps().at(i));
        row->setIsSelected(!m_selectedTestID.isNull() && row->test().id == m_selectedTestID);
        row->setIsEditing(m_isEditing);
    }
    if (resized)
        emit rowsChanged();
}

void RunEditorViewModel::findDuplicateIDs()
{
    QMap<qint64, QStringList> byNumber;
    for (const TestListRowViewModel *row : std::as_const(m_rows))
        byNumber[row->test().numID].append(row->text());
    QMap<qint64, QStringList> shared;
    for (auto it = byNumber.cbegin(); it != byNumber.cend(); ++it) {
        if (it->size() > 1)
            shared.insert(it.key(), it.value());
    }
    if (shared == m_duplicateIDs)
        return;
    m_duplicateIDs = shared;
    emit duplicateIDsChanged();
}

QVariantMap RunEditorViewModel::duplicateIDsMap() const
{
    QVariantMap map;
    for (auto it = m_duplicateIDs.cbegin(); it != m_duplicateIDs.cend(); ++it)
        map.insert(QString::number(it.key()), it.value());
    return map;
}

QString RunEditorViewModel::duplicateIDsText() const
{
    if (m_duplicateIDs.isEmpty())
        return {};
    QStringList lines{QStringLiteral("Steps that share a numerical id (the label file cannot tell them apart):")};
    for (auto it = m_duplicateIDs.cbegin(); it != m_duplicateIDs.cend(); ++it)
        lines.append(QString::number(it.key()) + QStringLiteral(": ") + it.value().join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
}

QString RunEditorViewModel::markerCodesText() const
{
    return m_markersInUse ? MarkerCodes::unsendableNote(m_run) : QString();
}

void RunEditorViewModel::setMarkersInUse(bool inUse)
{
    if (m_markersInUse == inUse)
        return;
    m_markersInUse = inUse;
    emit markerCodesTextChanged();
}

qsizetype RunEditorViewModel::selectedIndex() const
{
    return m_selectedTestID.isNull() ? -1 : m_run.stepIndex(m_selectedTestID);
}

void RunEditorViewModel::setSelectedTestID(const QUuid &id)
{
    if (m_selectedTestID == id)
        return;
    m_selectedTestID = id;
    for (TestListRowViewModel *row : std::as_const(m_rows))
        row->setIsSelected(!id.isNull() && row->test().id == id);
    m_step.setCurrentStepID(id.isNull() ? std::nullopt : std::optional<QUuid>(id));
    emit selectedTestIDChanged();
}

void RunEditorViewModel::setIsEditing(bool editing)
{
    if (m_isEditing == editing)
        return;
    m_isEditing = editing;
    for (TestListRowViewModel *row : std::as_const(m_rows))
        row->setIsEditing(editing);
    emit isEditingChanged();
}

QString RunEditorViewModel::editButtonText() const
{
    return m_isEditing ? QStringLiteral("Done") : QStringLiteral("Edit");
}

void RunEditorViewModel::insertStep(qsizetype index, const DeelTestje &step)
{
    QList<DeelTestje> steps = m_run.steps();
    steps.insert(index, step);
    m_run.setSteps(steps);
    setSelectedTestID(step.id);
}

void RunEditorViewModel::newStep()
{
    const qint64 number = m_run.stepCount() + 1;
    DeelTestje step;
    step.numID = number;
    step.name = QStringLiteral("New step ") + QString::number(number);
    step.labelID = StepLabel::derived(step.name);
    step.duration = 0;
    step.autoContinue = false;
    step.drone = QList<DroneSettings>{};
    step.aloud_silent = false;
    step.read_noread = false;
    step.optionalViews = QList<OptionalViewSettings>{};
    const qsizetype selected = selectedIndex();
    insertStep(selected >= 0 ? selected + 1 : m_run.stepCount(), step);
}

void RunEditorViewModel::duplicateStep(int index)
{
    auto copy = m_run.step(index);
    if (!copy)
        return;
    copy->id = QUuid::createUuid();
    copy->numID += 100;
    copy->name += QStringLiteral(" (Copy)");
    copy->labelID += QStringLiteral("2");
    insertStep(index + 1, *copy);
}

void RunEditorViewModel::deleteSteps(const QList<int> &positions)
{
    QList<int> valid;
    for (const int position : positions) {
        const auto step = m_run.step(position);
        if (!step || valid.contains(position))
            continue;
        valid.append(position);
        if (step->id == m_selectedTestID)
            setSelectedTestID(QUuid());
    }
    if (valid.isEmpty())
        return;
    std::sort(valid.begin(), valid.end(), std::greater<>());
    QList<DeelTestje> steps = m_run.steps();
    for (const int position : std::as_const(valid))
        steps.removeAt(position);
    m_run.setSteps(steps);
}

void RunEditorViewModel::setSaveError(const QString &error)
{
    if (m_saveError == error)
        return;
    m_saveError = error;
    emit saveErrorChanged();
}

bool RunEditorViewModel::saveProtocol()
{
    // The file is named after these two; without them it would be "_.json"
    // or share a name with other protocols lacking the same field.
    const bool noName = m_run.researchName().trimmed().isEmpty();
    const bool noVersion = m_run.version().trimmed().isEmpty();
    if (noName || noVersion) {
        setSaveError(noName && noVersion
                         ? QStringLiteral("Enter a research name and a version before saving.")
                         : noName ? QStringLiteral("Enter a research name before saving.")
                                  : QStringLiteral("Enter a version before saving."));
        return false;
    }
    const auto saved = m_library.saveProtocol(originalFileName());
    if (!saved) {
        setSaveError(QStringLiteral("The protocol file could not be written; your changes are not saved."));
        return false;
    }
    setSaveError(QString());
    // Later saves replace this file, not the one it was loaded from.
    m_library.setSelectedFileName(*saved);
    setHasUnsavedChanges(false);
    return true;
}

void RunEditorViewModel::save()
{
    if (saveProtocol())
        close();
}

void RunEditorViewModel::cancel()
{
    if (m_hasUnsavedChanges) {
        askAboutUnsavedChanges(PendingExitAction::cancel);
        return;
    }
    m_manager.stopRun();
    close();
}

void RunEditorViewModel::setScenePhase(Qt::ApplicationState phase)
{
    if (m_scenePhase == phase)
        return;
    m_scenePhase = phase;
    emit scenePhaseChanged();
    if (phase != Qt::ApplicationActive && m_hasUnsavedChanges)
        askAboutUnsavedChanges(PendingExitAction::appDeactivation);
}

void RunEditorViewModel::askAboutUnsavedChanges(PendingExitAction action)
{
    m_pendingExitAction = action;
    m_showUnsavedChangesAlert = true;
    emit showUnsavedChangesAlertChanged();
}

void RunEditorViewModel::closeUnsavedChangesQuestion()
{
    if (!m_showUnsavedChangesAlert && !m_pendingExitAction)
        return;
    m_pendingExitAction.reset();
    m_showUnsavedChangesAlert = false;
    emit showUnsavedChangesAlertChanged();
}

void RunEditorViewModel::answerSave()
{
    const auto action = m_pendingExitAction;
    closeUnsavedChangesQuestion();
    if (saveProtocol() && action == PendingExitAction::cancel)
        close();
}

void RunEditorViewModel::answerProceedWithoutSaving()
{
    const auto action = m_pendingExitAction;
    closeUnsavedChangesQuestion();
    setHasUnsavedChanges(false);
    if (action == PendingExitAction::cancel) {
        m_manager.stopRun();
        close();
    }
}

void RunEditorViewModel::answerCancel()
{
    closeUnsavedChangesQuestion();
}

QVariant RunEditorViewModel::pendingExitActionValue() const
{
    return m_pendingExitAction ? QVariant::fromValue(*m_pendingExitAction) : QVariant();
}

void RunEditorViewModel::setShowDeleteAlert(bool show)
{
    if (m_showDeleteAlert == show)
        return;
    m_showDeleteAlert = show;
    emit showDeleteAlertChanged();
}

void RunEditorViewModel::requestDelete()
{
    setShowDeleteAlert(true);
}

void RunEditorViewModel::cancelDelete()
{
    setShowDeleteAlert(false);
}

void RunEditorViewModel::confirmDelete()
{
    setShowDeleteAlert(false);
    const auto original = originalFileName();
    m_library.deleteProtocolFile(original);
    // The start screen no longer points at the removed file.
    m_library.setSelectedFileName(QString());
    close();
}

void RunEditorViewModel::setHasUnsavedChanges(bool changed)
{
    if (m_hasUnsavedChanges == changed)
        return;
    m_hasUnsavedChanges = changed;
    emit hasUnsavedChangesChanged();
}

void RunEditorViewModel::setIsInitialLoad(bool initialLoad)
{
    if (m_isInitialLoad == initialLoad)
        return;
    m_isInitialLoad = initialLoad;
    emit isInitialLoadChanged();
}

QString RunEditorViewModel::unsavedChangesTitle()
{
    return QStringLiteral("Unsaved changes");
}

QString RunEditorViewModel::unsavedChangesMessage()
{
    return QStringLiteral("You have unsaved changes. Do you want to save before leaving?");
}

QString RunEditorViewModel::deleteAlertTitle()
{
    return QStringLiteral("Are you sure you want to delete this research protocol?");
}

QString RunEditorViewModel::deleteAlertMessage()
{
    return QStringLiteral("You will not be able to recover the json file for this protocol if you delete it. You "
                          "will have to make a new protocol from scratch.");
}
