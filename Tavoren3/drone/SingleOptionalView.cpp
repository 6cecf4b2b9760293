#include "drone/SingleOptionalView.h"

#include "bridge/BloodPersureView.h"
#include "common/Console.h"
#include "drone/BreathingView.h"
#include "drone/ImageViewDrone.h"
#include "drone/MultipeerSession.h"
#include "drone/SliderView.h"
#include "drone/TextView.h"
#include "drone/TimerView.h"
#include "drone/VideoView.h"
#include "run/VerkeersLeiding.h"
#include "tasks/ClimbingView.h"
#include "tasks/ExerciseView.h"
#include "tasks/ImageView.h"
#include "tasks/MathCalculationsView.h"
#include "tasks/QuestionnaireView.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<const char *, SingleOptionalView::Kind>, 12> viewNames{{
    {"Arithmetic tasks", SingleOptionalView::Kind::Arithmetic},
    {"Slider (drone side)", SingleOptionalView::Kind::Slider},
    {"Blood pressure monitoring (timekeeper side)", SingleOptionalView::Kind::BloodPressure},
    {"Climbing", SingleOptionalView::Kind::Climbing},
    {"Timer (drone side)", SingleOptionalView::Kind::Timer},
    {"Questionnaire (timekeeper side)", SingleOptionalView::Kind::Questionnaire},
    {"Images (timekeeper side)", SingleOptionalView::Kind::ImagesTimekeeper},
    {"Exercises", SingleOptionalView::Kind::Exercises},
    {"Breathing (drone side)", SingleOptionalView::Kind::Breathing},
    {"Video (drone side)", SingleOptionalView::Kind::Video},
    {"Images (drone side)", SingleOptionalView::Kind::ImagesDrone},
    {"Text (drone side)", SingleOptionalView::Kind::Text},
}};

} // namespace

SingleOptionalView::Kind SingleOptionalView::kindOf(const QString &viewName)
{
    for (const auto &[name, kind] : viewNames) {
        if (viewName == QLatin1String(name))
            return kind;
    }
    return Kind::Invalid;
}

SingleOptionalView::SingleOptionalView(const OptionalViewSettings &settings, VerkeersLeiding &manager,
                                       MultipeerSession &session, HapticFeedback &haptics, QObject *parent)
    : QObject(parent), m_settings(settings), m_manager(manager), m_session(session), m_kind(kindOf(settings.ViewName))
{
    const auto p = [&](qsizetype i, const QString &fallback) { return settings.parameter(i).value_or(fallback); };
    const auto yes = [&](qsizetype i) { return settings.parameter(i) == QStringLiteral("yes"); };
    switch (m_kind) {
    case Kind::Arithmetic: m_viewModel = new MathCalculationsView(manager, session, p(0, "filename"), this); break;
    case Kind::Slider: m_viewModel = new SliderView(manager, session, p(0, QString()), SliderView::defaultPrefix, this); break;
    case Kind::BloodPressure: m_viewModel = new BloodPersureView(manager, this); break;
    case Kind::Climbing: m_viewModel = new ClimbingView(manager, session, this); break;
    case Kind::Timer: m_viewModel = new TimerView(manager, session, this); break;
    case Kind::Questionnaire: m_viewModel = new QuestionnaireView(manager, session, p(0, "filename"), this); break;
    case Kind::ImagesTimekeeper: m_viewModel = new ImageView(p(0, "images.txt"), ImageView::Reach::pathsToo, this); break;
    case Kind::Exercises: m_viewModel = new ExerciseView(manager, session, haptics, p(0, "warmup.json"), this); break;
    case Kind::Breathing: m_viewModel = new BreathingView(manager, session, p(0, "normal"), this); break;
    case Kind::Video:
        m_viewModel = new VideoView(manager, session, p(0, QStringLiteral(" ")), yes(1), yes(2), yes(3), this);
        break;
    case Kind::ImagesDrone: m_viewModel = new ImageViewDrone(manager, session, p(0, "images.txt"), this); break;
    case Kind::Text:
        m_viewModel = new TextView(manager, session, p(0, "no text was inputted on the timekeeper side"), this);
        break;
    case Kind::Invalid: break;
    }
    Console::line(QStringLiteral("------CURRENT ID------->>>> %1<<<<<------").arg(manager.nr()));
}

QString SingleOptionalView::errorText() const
{
    return m_kind == Kind::Invalid ? QStringLiteral("Invalid OptionalView: '") + m_settings.ViewName + QLatin1Char('\'')
                                   : QString();
}

void SingleOptionalView::appeared()
{
    if (m_kind == Kind::Invalid) {
        Console::line(QStringLiteral("WARNING: Unrecognized OptionalView ViewName: '") + m_settings.ViewName
                      + QStringLiteral("' - sending black state"));
        m_session.sendState(QStringLiteral("black"));
        return;
    }
    if (m_viewModel)
        QMetaObject::invokeMethod(m_viewModel, "appeared");
}

void SingleOptionalView::disappeared()
{
    if (m_viewModel && m_viewModel->metaObject()->indexOfMethod("disappeared()") >= 0)
        QMetaObject::invokeMethod(m_viewModel, "disappeared");
}
