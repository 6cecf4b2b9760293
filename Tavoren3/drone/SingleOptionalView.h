#pragma once

#include "model/OptionalViewSettings.h"

#include <QMetaEnum>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class HapticFeedback;
class MultipeerSession;
class VerkeersLeiding;

// One optional view of a step: the view its name chooses, built with its
// parameters and their defaults, or a red error for a name it does not know.
class SingleOptionalView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(SingleOptionalViewModel)
    QML_UNCREATABLE("Made by OptionalView for each optional view of a step.")
    Q_PROPERTY(Kind kind READ kind CONSTANT)
    // The kind's name ("Arithmetic", "Slider", ...), for the screen to pick its view by.
    Q_PROPERTY(QString kindName READ kindName CONSTANT)
    Q_PROPERTY(QObject *viewModel READ viewModel CONSTANT)
    Q_PROPERTY(QString errorText READ errorText CONSTANT)

public:
    enum class Kind {
        Arithmetic,
        Slider,
        BloodPressure,
        Climbing,
        Timer,
        Questionnaire,
        ImagesTimekeeper,
        Exercises,
        Breathing,
        Video,
        ImagesDrone,
        Text,
        Invalid
    };
    Q_ENUM(Kind)

    SingleOptionalView(const OptionalViewSettings &settings, VerkeersLeiding &manager, MultipeerSession &session,
                       HapticFeedback &haptics, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    QString kindName() const { return QString::fromLatin1(QMetaEnum::fromType<Kind>().valueToKey(int(m_kind))); }
    // The view's own model (TextView, MathCalculationsView, ...); none for an unknown name.
    QObject *viewModel() const { return m_viewModel; }
    QString errorText() const;

    static Kind kindOf(const QString &viewName);

    void appeared();
    void disappeared();

private:
    OptionalViewSettings m_settings;
    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    Kind m_kind;
    QObject *m_viewModel = nullptr;
};
