#include "editor/StepViewModel.h"

#include "editor/StepLabel.h"
#include "model/Run.h"

#include <algorithm>

StepViewModel::StepViewModel(Run &run, Action onDuplicate, Action onDelete, QObject *parent)
    : QObject(parent), m_run(run), m_onDuplicate(std::move(onDuplicate)), m_onDelete(std::move(onDelete))
{
    connect(&m_run, &Run::stepsChanged, this, &StepViewModel::stepChanged);
}

qsizetype StepViewModel::currentIndex() const
{
    return m_id ? m_run.stepIndex(*m_id) : -1;
}

DeelTestje StepViewModel::current() const
{
    return m_run.step(currentIndex()).value_or(DeelTestje{});
}

void StepViewModel::write(const DeelTestje &step)
{
    m_run.setStep(currentIndex(), step);
}

void StepViewModel::setCurrentStepID(const std::optional<QUuid> &id)
{
    if (m_id == id)
        return;
    const bool wasShown = m_id.has_value();
    m_id = id;
    emit currentStepChanged();
    emit stepChanged();
    if (!m_id) {
        setHasInitialized(false);
        return;
    }
    if (wasShown)
        selectionChanged();
    else
        appeared();
    loadOptionalViews();
}

void StepViewModel::appeared()
{
    DeelTestje step = current();
    setLastAutoLabelSourceTitle(step.name);
    if (StepLabel::isPlaceholder(step.labelID)) {
        step.labelID = StepLabel::derived(step.name);
        write(step);
    }
    if (!m_hasInitialized) {
        setInstructions(step.description);
        setHasInitialized(true);
    }
}

void StepViewModel::selectionChanged()
{
    setInstructions(current().description);
    setHasInitialized(true);
}

void StepViewModel::setName(const QString &name)
{
    DeelTestje step = current();
    if (!hasStep() || step.name == name)
        return;
    const QString oldTitle = step.name;
    step.name = name;
    if (StepLabel::isAutomatic(step.labelID, oldTitle)) {
        step.labelID = StepLabel::derived(name);
        setLastAutoLabelSourceTitle(name);
    }
    write(step);
}

void StepViewModel::setLabelID(const QString &label)
{
    DeelTestje step = current();
    if (!hasStep() || step.labelID == label)
        return;
    step.labelID = StepLabel::derived(label);
    write(step);
    // The field shows the stored form even when the store did not change.
    emit stepChanged();
}

void StepViewModel::setMinutes(int minutes)
{
    DeelTestje step = current();
    if (!hasStep())
        return;
    step.duration = qint64(std::clamp(minutes, 0, maxMinutes())) * 60 + step.duration % 60;
    write(step);
}

void StepViewModel::setSeconds(int seconds)
{
    DeelTestje step = current();
    if (!hasStep())
        return;
    step.duration = step.duration / 60 * 60 + std::clamp(seconds, 0, maxSeconds());
    write(step);
}

void StepViewModel::setInstructions(const QString &text)
{
    if (m_instructionsText == text)
        return;
    m_instructionsText = text;
    emit instructionsTextChanged();
}

void StepViewModel::setInstructionsText(const QString &text)
{
    setInstructions(text);
    // Written at once, so the text can never land in a step selected later.
    DeelTestje step = current();
    if (!hasStep() || step.description == text)
        return;
    step.description = text;
    write(step);
}

void StepViewModel::setIsEditingOptionalViews(bool editing)
{
    if (m_isEditingOptionalViews == editing)
        return;
    m_isEditingOptionalViews = editing;
    emit isEditingOptionalViewsChanged();
}

void StepViewModel::setLastAutoLabelSourceTitle(const QString &title)
{
    if (m_lastAutoLabelSourceTitle == title)
        return;
    m_lastAutoLabelSourceTitle = title;
    emit lastAutoLabelSourceTitleChanged();
}

void StepViewModel::setHasInitialized(bool initialized)
{
    if (m_hasInitialized == initialized)
        return;
    m_hasInitialized = initialized;
    emit hasInitializedChanged();
}

QStringList StepViewModel::stagedSelectionList() const
{
    QStringList selected;
    for (const QString &name : OptionalViewChoices::availableOptionalViews()) {
        if (m_stagedSelection.contains(name))
            selected.append(name);
    }
    return selected;
}

QVariantMap StepViewModel::stagedParamsMap() const
{
    QVariantMap views;
    for (auto view = m_stagedParams.cbegin(); view != m_stagedParams.cend(); ++view) {
        QVariantMap parameters;
        for (auto p = view->cbegin(); p != view->cend(); ++p)
            parameters.insert(p.key(), p.value());
        views.insert(view.key(), parameters);
    }
    return views;
}

void StepViewModel::loadOptionalViews()
{
    m_stagedSelection.clear();
    m_stagedParams.clear();
    for (const OptionalViewSettings &view : current().views()) {
        m_stagedSelection.insert(view.ViewName);
        if (!OptionalViewChoices::parameterKeys(view.ViewName).isEmpty())
            m_stagedParams.insert(view.ViewName, OptionalViewChoices::staged(view));
    }
    emit stagedChanged();
}

void StepViewModel::commitOptionalViews()
{
    QList<OptionalViewSettings> views;
    for (const QString &name : stagedSelectionList())
        views.append(OptionalViewChoices::settings(name, m_stagedParams.value(name)));
    DeelTestje step = current();
    step.optionalViews = views;
    write(step);
}

void StepViewModel::setViewSelected(const QString &viewName, bool selected)
{
    if (!hasStep() || m_stagedSelection.contains(viewName) == selected)
        return;
    if (selected)
        m_stagedSelection.insert(viewName);
    else
        m_stagedSelection.remove(viewName);
    emit stagedChanged();
    commitOptionalViews();
}

void StepViewModel::setParameter(const QString &viewName, const QString &key, const QString &value)
{
    if (!hasStep() || !parameterKeys(viewName).contains(key))
        return;
    OptionalViewChoices::Staged &parameters = m_stagedParams[viewName];
    if (parameters.contains(key) && parameters.value(key) == value)
        return;
    parameters.insert(key, value);
    emit stagedChanged();
    commitOptionalViews();
}

QStringList StepViewModel::parameterKeys(const QString &viewName) const
{
    return OptionalViewChoices::parameterKeys(viewName);
}

QString StepViewModel::prompt(const QString &viewName, const QString &key) const
{
    return OptionalViewChoices::prompt(viewName, key);
}

QStringList StepViewModel::choices(const QString &viewName, const QString &key) const
{
    return OptionalViewChoices::choices(viewName, key);
}

void StepViewModel::duplicate()
{
    if (hasStep())
        m_onDuplicate();
}

void StepViewModel::deleteStep()
{
    if (hasStep())
        m_onDelete();
}
