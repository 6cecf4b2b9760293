#pragma once

#include "model/DeelTestje.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The protocol document. Every change of a field is announced, field by
// field and through changed().
class Run : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")
    Q_PROPERTY(QString version READ version WRITE setVersion NOTIFY versionChanged)
    Q_PROPERTY(QString researchName READ researchName WRITE setResearchName NOTIFY researchNameChanged)
    Q_PROPERTY(qint64 VeskPauseLabel READ VeskPauseLabel WRITE setVeskPauseLabel NOTIFY VeskPauseLabelChanged)
    Q_PROPERTY(bool usesDrone READ usesDrone WRITE setUsesDrone NOTIFY usesDroneChanged)
    Q_PROPERTY(int stepCount READ stepCount NOTIFY stepsChanged)

public:
    explicit Run(QObject *parent = nullptr);

    QString version() const { return m_version; }
    void setVersion(const QString &version);

    const QList<DeelTestje> &steps() const { return m_steps; }
    void setSteps(const QList<DeelTestje> &steps);
    int stepCount() const { return int(m_steps.size()); }
    // The step at index, or none when the index is outside the list.
    std::optional<DeelTestje> step(qsizetype index) const;
    void setStep(qsizetype index, const DeelTestje &step);
    // The position of the step with this identity, or -1.
    qsizetype stepIndex(const QUuid &id) const;

    QString researchName() const { return m_researchName; }
    void setResearchName(const QString &name);

    qint64 VeskPauseLabel() const { return m_veskPauseLabel; }
    void setVeskPauseLabel(qint64 label);

    std::optional<QString> researchDescription() const { return m_researchDescription; }
    void setResearchDescription(const std::optional<QString> &description);

    QMap<QString, qint64> IDlist() const { return m_idList; }
    void setIDlist(const QMap<QString, qint64> &idList);

    bool usesDrone() const { return m_usesDrone; }
    void setUsesDrone(bool usesDrone);

    // Takes over every field of other.
    void copyFrom(const Run &other);
    bool sameContent(const Run &other) const;

    // The document a new protocol starts as.
    static void fillAsNewProtocol(Run &run);

signals:
    void versionChanged();
    void stepsChanged();
    void researchNameChanged();
    void VeskPauseLabelChanged();
    void researchDescriptionChanged();
    void IDlistChanged();
    void usesDroneChanged();
    void changed();

private:
    QString m_version;
    QList<DeelTestje> m_steps;
    QString m_researchName;
    qint64 m_veskPauseLabel = 0;
    std::optional<QString> m_researchDescription;
    QMap<QString, qint64> m_idList;
    bool m_usesDrone = true;
};
