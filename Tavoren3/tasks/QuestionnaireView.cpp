#include "tasks/QuestionnaireView.h"

#include "drone/MultipeerSession.h"
#include "run/LogTime.h"
#include "run/VerkeersLeiding.h"
#include "tasks/TaskFile.h"

#include <cmath>

namespace {
const QString allDone = QStringLiteral("All questions done. Restart?");
}

QuestionnaireView::QuestionnaireView(VerkeersLeiding &manager, MultipeerSession &session, QString file, QObject *parent)
    : QObject(parent), m_manager(manager), m_session(session), m_file(std::move(file))
{
}

void QuestionnaireView::setValue(int value)
{
    if (m_value == value)
        return;
    m_value = value;
    emit changed();
}

void QuestionnaireView::setSliderPosition(double position)
{
    setValue(int(std::lround(position)));
}

void QuestionnaireView::appeared()
{
    m_session.sendState(QStringLiteral("black"));
    m_buttonTitle = QStringLiteral("Start");
    TaskFile::loadTaskFile(m_file);
    if (m_value < lowest)
        m_value = lowest;
    emit changed();
}

void QuestionnaireView::writeAnswer()
{
    m_manager.log(LogTime::logTimestamp() + QLatin1Char('\t') + m_currentQuestion + QLatin1Char(' ')
                  + QString::number(m_value));
}

void QuestionnaireView::pressButton()
{
    const QStringList &lines = TaskFile::taskLines();
    const int next = m_teller + 1;
    if (next >= lines.size()) {
        writeAnswer();
        m_currentQuestion = allDone;
        m_teller = 0;
        m_buttonTitle = QStringLiteral("Restart");
    } else {
        if (m_currentQuestion != QLatin1String("Ready?") && m_currentQuestion != allDone)
            writeAnswer();
        m_currentQuestion = lines.at(m_teller);
        m_buttonTitle = QStringLiteral("Next");
        m_teller = next;
    }
    m_value = lowest;
    emit changed();
}

QString QuestionnaireView::buttonColor() const
{
    return m_buttonTitle == QLatin1String("Next") ? QStringLiteral("#798edb") : QStringLiteral("#98cf73");
}
