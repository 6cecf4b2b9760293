#include "model/Run.h"

#include <algorithm>

namespace {
template <class T, class Signal>
void assign(Run *run, T &field, const T &value, Signal signal)
{
    if (field == value)
        return;
    field = value;
    emit (run->*signal)();
    emit run->changed();
}
}

Run::Run(QObject *parent) : QObject(parent) {}

void Run::setVersion(const QString &version) { assign(this, m_version, version, &Run::versionChanged); }
void Run::setSteps(const QList<DeelTestje> &steps) { assign(this, m_steps, steps, &Run::stepsChanged); }
void Run::setResearchName(const QString &name) { assign(this, m_researchName, name, &Run::researchNameChanged); }
void Run::setVeskPauseLabel(qint64 label) { assign(this, m_veskPauseLabel, label, &Run::VeskPauseLabelChanged); }
void Run::setIDlist(const QMap<QString, qint64> &idList) { assign(this, m_idList, idList, &Run::IDlistChanged); }
void Run::setUsesDrone(bool usesDrone) { assign(this, m_usesDrone, usesDrone, &Run::usesDroneChanged); }

void Run::setResearchDescription(const std::optional<QString> &description)
{
    assign(this, m_researchDescription, description, &Run::researchDescriptionChanged);
}

std::optional<DeelTestje> Run::step(qsizetype index) const
{
    if (index < 0 || index >= m_steps.size())
        return std::nullopt;
    return m_steps.at(index);
}

qsizetype Run::stepIndex(const QUuid &id) const
{
    const auto it = std::find_if(m_steps.cbegin(), m_steps.cend(), [&](const DeelTestje &s) { return s.id == id; });
    return it == m_steps.cend() ? -1 : it - m_steps.cbegin();
}

void Run::setStep(qsizetype index, const DeelTestje &step)
{
    if (index < 0 || index >= m_steps.size() || m_steps.at(index) == step)
        return;
    m_steps[index] = step;
    emit stepsChanged();
    emit changed();
}

void Run::copyFrom(const Run &other)
{
    setVersion(other.m_version);
    setSteps(other.m_steps);
    setResearchName(other.m_researchName);
    setVeskPauseLabel(other.m_veskPauseLabel);
    setResearchDescription(other.m_researchDescription);
    setIDlist(other.m_idList);
    setUsesDrone(other.m_usesDrone);
}

bool Run::sameContent(const Run &other) const
{
    return m_version == other.m_version && m_steps == other.m_steps
        && m_researchName == other.m_researchName && m_veskPauseLabel == other.m_veskPauseLabel
        && m_researchDescription == other.m_researchDescription && m_idList == other.m_idList
        && m_usesDrone == other.m_usesDrone;
}

void Run::fillAsNewProtocol(Run &run)
{
    DeelTestje welcome;
    welcome.numID = 0;
    welcome.name = QStringLiteral("Welcome");
    welcome.description = QStringLiteral("This is a placeholder. You can edit this step and add new ones "
                                         "in order to make your research complete.");
    welcome.duration = 0;
    welcome.autoContinue = false;
    welcome.aloud_silent = false;
    welcome.read_noread = false;
    welcome.labelID = QStringLiteral("intro");

    run.setVersion(QStringLiteral("1.0"));
    run.setSteps({welcome});
    run.setResearchName(QStringLiteral("New research"));
    run.setVeskPauseLabel(1000);
    run.setResearchDescription(QStringLiteral("No description yet."));
    run.setIDlist({{QStringLiteral("intro"), 0}});
    run.setUsesDrone(false);
}
