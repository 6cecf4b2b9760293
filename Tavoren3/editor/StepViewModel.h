#pragma once

#include "editor/OptionalViewChoices.h"
#include "model/DeelTestje.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>

class Run;

// The detail of the selected step: title, label, duration, instructions and
// the optional views, staged here and written into the step in the offered
// order.
class StepViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by RunEditorViewModel.")
    Q_PROPERTY(bool hasStep READ hasStep NOTIFY currentStepChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY stepChanged)
    Q_PROPERTY(QString labelID READ labelID WRITE setLabelID NOTIFY stepChanged)
    Q_PROPERTY(qint64 duration READ duration NOTIFY stepChanged)
    Q_PROPERTY(int minutes READ minutes WRITE setMinutes NOTIFY stepChanged)
    Q_PROPERTY(int seconds READ seconds WRITE setSeconds NOTIFY stepChanged)
    Q_PROPERTY(int maxMinutes READ maxMinutes CONSTANT)
    Q_PROPERTY(int maxSeconds READ maxSeconds CONSTANT)
    Q_PROPERTY(QString instructionsText READ instructionsText WRITE setInstructionsText NOTIFY
                   instructionsTextChanged)
    Q_PROPERTY(bool isEditingOptionalViews READ isEditingOptionalViews WRITE setIsEditingOptionalViews NOTIFY
                   isEditingOptionalViewsChanged)
    Q_PROPERTY(QString lastAutoLabelSourceTitle READ lastAutoLabelSourceTitle NOTIFY
                   lastAutoLabelSourceTitleChanged)
    Q_PROPERTY(bool hasInitialized READ hasInitialized NOTIFY hasInitializedChanged)
    Q_PROPERTY(QStringList availableOptionalViews READ availableOptionalViews CONSTANT)
    Q_PROPERTY(QStringList stagedSelection READ stagedSelectionList NOTIFY stagedChanged)
    Q_PROPERTY(QVariantMap stagedParams READ stagedParamsMap NOTIFY stagedChanged)

public:
    using Action = std::function<void()>;

    StepViewModel(Run &run, Action onDuplicate, Action onDelete, QObject *parent = nullptr);

    // The step shown; none hides the detail, and the next step shown is a
    // fresh appearance.
    std::optional<QUuid> currentStepID() const { return m_id; }
    void setCurrentStepID(const std::optional<QUuid> &id);
    bool hasStep() const { return currentIndex() >= 0; }

    QString name() const { return current().name; }
    // A label that followed the old title follows the new one.
    void setName(const QString &name);
    QString labelID() const { return current().labelID; }
    // Stores the label in its derived form.
    void setLabelID(const QString &label);

    qint64 duration() const { return current().duration; }
    int minutes() const { return int(current().duration / 60); }
    void setMinutes(int minutes);
    int seconds() const { return int(current().duration % 60); }
    void setSeconds(int seconds);
    static constexpr int maxMinutes() { return 240; }
    static constexpr int maxSeconds() { return 59; }

    QString instructionsText() const { return m_instructionsText; }
    // Also the step's description.
    void setInstructionsText(const QString &text);

    bool isEditingOptionalViews() const { return m_isEditingOptionalViews; }
    void setIsEditingOptionalViews(bool editing);
    QString lastAutoLabelSourceTitle() const { return m_lastAutoLabelSourceTitle; }
    bool hasInitialized() const { return m_hasInitialized; }

    static QStringList availableOptionalViews() { return OptionalViewChoices::availableOptionalViews(); }
    const QSet<QString> &stagedSelection() const { return m_stagedSelection; }
    const QMap<QString, OptionalViewChoices::Staged> &stagedParams() const { return m_stagedParams; }
    // The offered views that are switched on, in the offered order.
    QStringList stagedSelectionList() const;
    QVariantMap stagedParamsMap() const;

    Q_INVOKABLE void setViewSelected(const QString &viewName, bool selected);
    Q_INVOKABLE void setParameter(const QString &viewName, const QString &key, const QString &value);
    Q_INVOKABLE QStringList parameterKeys(const QString &viewName) const;
    Q_INVOKABLE QString prompt(const QString &viewName, const QString &key) const;
    Q_INVOKABLE QStringList choices(const QString &viewName, const QString &key) const;

    // "Duplicate" and "Delete".
    Q_INVOKABLE void duplicate();
    Q_INVOKABLE void deleteStep();

signals:
    void currentStepChanged();
    void stepChanged();
    void instructionsTextChanged();
    void isEditingOptionalViewsChanged();
    void lastAutoLabelSourceTitleChanged();
    void hasInitializedChanged();
    void stagedChanged();

private:
    qsizetype currentIndex() const;
    DeelTestje current() const;
    void write(const DeelTestje &step);
    void appeared();
    void selectionChanged();
    void setLastAutoLabelSourceTitle(const QString &title);
    void setHasInitialized(bool initialized);
    void setInstructions(const QString &text);
    void loadOptionalViews();
    void commitOptionalViews();

    Run &m_run;
    Action m_onDuplicate;
    Action m_onDelete;
    std::optional<QUuid> m_id;
    bool m_isEditingOptionalViews = false;
    QString m_lastAutoLabelSourceTitle;
    QString m_instructionsText;
    bool m_hasInitialized = false;
    QSet<QString> m_stagedSelection;
    QMap<QString, OptionalViewChoices::Staged> m_stagedParams;
};
