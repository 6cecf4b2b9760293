#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class MultipeerSession;
class VerkeersLeiding;

// The timekeeper reads questions aloud and sets the participant's rating;
// every answered question goes into the label file.
class QuestionnaireView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(QuestionnaireViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(QString currentQuestion READ currentQuestion NOTIFY changed)
    Q_PROPERTY(QString buttonTitle READ buttonTitle NOTIFY changed)
    Q_PROPERTY(QString buttonColor READ buttonColor NOTIFY changed)
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY changed)
    Q_PROPERTY(int minimum READ minimum CONSTANT)
    Q_PROPERTY(int maximum READ maximum CONSTANT)

public:
    static constexpr int lowest = 1;
    static constexpr int highest = 10;

    QuestionnaireView(VerkeersLeiding &manager, MultipeerSession &session, QString file, QObject *parent = nullptr);

    QString currentQuestion() const { return m_currentQuestion; }
    QString buttonTitle() const { return m_buttonTitle; }
    // Green for "Start" and "Restart", blue for "Next".
    QString buttonColor() const;
    int value() const { return m_value; }
    // A dragged slider position, rounded to the nearest mark.
    void setValue(int value);
    Q_INVOKABLE void setSliderPosition(double position);
    int minimum() const { return lowest; }
    int maximum() const { return highest; }

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void pressButton();

signals:
    void changed();

private:
    void writeAnswer();

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    QString m_file;
    int m_teller = 0;
    int m_value = lowest;
    QString m_currentQuestion = QStringLiteral("Ready?");
    QString m_buttonTitle = QStringLiteral("Start");
};
