#include "drone/OptionalView.h"

#include "common/Console.h"
#include "drone/MultipeerSession.h"
#include "run/VerkeersLeiding.h"

#include <utility>

namespace {

QString printed(const QList<OptionalViewSettings> &views)
{
    QStringList entries;
    for (const OptionalViewSettings &view : views) {
        QStringList parameters;
        for (const std::optional<QString> &p : view.Parameters)
            parameters.append(p ? QLatin1Char('"') + *p + QLatin1Char('"') : QStringLiteral("nil"));
        entries.append(QStringLiteral("(ViewName: \"%1\", Parameters: [%2])").arg(view.ViewName, parameters.join(", ")));
    }
    return QLatin1Char('[') + entries.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QList<OptionalViewSettings> viewsOf(const VerkeersLeiding &manager)
{
    const auto step = manager.currentStep();
    return step ? step->views() : QList<OptionalViewSettings>{};
}

} // namespace

OptionalView::OptionalView(VerkeersLeiding &manager, MultipeerSession &session, HapticFeedback &haptics,
                           QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_haptics(haptics), m_phase(manager.nr())
{
    // The old step's views go at once, so none of them sends for a step that
    // is no longer current; the new step's views are built once the
    // controller has set the new step up.
    connect(&m_manager, &VerkeersLeiding::nrChanged, this, [this] {
        if (m_manager.nr() != m_phase && !m_retired) {
            clear();
            m_retired = true;
        }
    });
    connect(&m_manager, &VerkeersLeiding::nrChanged, this, &OptionalView::phaseChanged, Qt::QueuedConnection);
}

OptionalView::~OptionalView()
{
    clear();
}

QQmlListProperty<SingleOptionalView> OptionalView::entries()
{
    return {this, &m_views};
}

void OptionalView::build()
{
    const QList<OptionalViewSettings> views = viewsOf(m_manager);
    Console::line(QStringLiteral("Displaying %1 optional views: ").arg(views.size()) + printed(views));
    Console::line(views.isEmpty() ? QStringLiteral("optional views are EMPTY") : QStringLiteral("optional views EXIST"));
    for (const OptionalViewSettings &settings : views)
        m_views.append(new SingleOptionalView(settings, m_manager, m_session, m_haptics, this));
    emit entriesChanged();
}

void OptionalView::clear()
{
    // The screen lets go of the entries before they are deleted.
    const QList<SingleOptionalView *> views = std::exchange(m_views, {});
    if (!views.isEmpty())
        emit entriesChanged();
    for (SingleOptionalView *view : views) {
        if (m_shown)
            view->disappeared();
        // At once, so that nothing still queued for the old step reaches it.
        delete view;
    }
}

void OptionalView::appeared()
{
    // Built as the run screen shows it: the protocol may have changed since
    // it was last shown, while the step index stayed the same.
    clear();
    m_phase = m_manager.nr();
    m_retired = false;
    build();
    m_shown = true;
    Console::line(QStringLiteral("OptionalView appeared for phase %1, optional views: %2").arg(m_manager.nr()).arg(m_views.size()));
    if (m_views.isEmpty())
        m_session.sendState(QStringLiteral("black"));
    for (SingleOptionalView *view : std::as_const(m_views))
        view->appeared();
}

void OptionalView::disappeared()
{
    for (SingleOptionalView *view : std::as_const(m_views))
        view->disappeared();
    m_shown = false;
}

void OptionalView::phaseChanged()
{
    if (!std::exchange(m_retired, false))
        return;
    const int old = std::exchange(m_phase, m_manager.nr());
    const QList<OptionalViewSettings> views = viewsOf(m_manager);
    Console::line(QStringLiteral("Phase changed from %1 to %2, optional views: %3").arg(old).arg(m_phase).arg(views.size()));
    build();
    if (m_manager.pause()) {
        Console::line(QStringLiteral("Paused - not sending state changes to drone"));
    } else if (views.isEmpty()) {
        Console::line(QStringLiteral("New phase has no optional views, sending black"));
        m_session.sendState(QStringLiteral("black"));
    }
    if (m_shown) {
        for (SingleOptionalView *view : std::as_const(m_views))
            view->appeared();
    }
}
