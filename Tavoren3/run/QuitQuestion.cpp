#include "run/QuitQuestion.h"

#include "run/VerkeersLeiding.h"

QuitQuestion::QuitQuestion(VerkeersLeiding &controller, QObject *parent) : QObject(parent), m_controller(controller)
{
}

QString QuitQuestion::message() const
{
    return QStringLiteral("A run is in progress. Quit anyway? The label file is kept and the run can be resumed.");
}

QStringList QuitQuestion::buttons() const
{
    return {QStringLiteral("Cancel"), QStringLiteral("Quit")};
}

void QuitQuestion::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged();
}

bool QuitQuestion::mayClose()
{
    if (m_confirmed || !m_controller.running())
        return true;
    setShown(true);
    return false;
}

void QuitQuestion::choose(const QString &button)
{
    setShown(false);
    if (button != QLatin1String("Quit"))
        return;
    m_confirmed = true;
    emit quitConfirmed();
}
